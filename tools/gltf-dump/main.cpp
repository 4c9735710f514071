// Shows a person what the reader built: the scene-graph dump, or why no scene came out.
#include <GLTFReader/GLTFSceneSource.h>
#include <SceneGraph/SceneDump.h>
#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: gltf-dump FILE.gltf|FILE.glb|FILE.vrm\n";
        return 2;
    }
    try {
        const GLTFSceneSource source{std::filesystem::path(argv[1])};
        std::cout << scene::dumpScene(*source.sceneWithOptions());
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "gltf-dump: '" << argv[1] << "': " << error.what() << '\n';
        return 1;
    }
}
