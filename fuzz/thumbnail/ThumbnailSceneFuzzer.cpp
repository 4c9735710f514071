// Feeds arbitrary bytes, as a GLB or glTF document, through what the thumbnailer does with a
// model before the GPU sees it: the scene load and the preview's preparation of it (vertex and
// index packing, texture decoding, the bounds the camera frames). Each input must give a
// prepared scene or fail with one of the reader's own errors; the preparation itself never
// throws, and the sanitizers catch what it reads or computes wrongly.

#include <Brightfold/Preview/ScenePreparation.h>
#include <GLTFReader/DecodingError.h>
#include <GLTFReader/FileReading.h>
#include <GLTFReader/GLTFSceneSource.h>
#include <GLTFReader/GLTFUnarchiveError.h>
#include <SceneGraph/Scene.h>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const GLTFSceneSource source(scene::makeBytes(std::vector<std::uint8_t>(data, data + size)));
    std::shared_ptr<scene::Scene> scene;
    try {
        scene = source.sceneWithOptions();
    } catch (const GLTFUnarchiveError&) {
    } catch (const gltf::DecodingError&) {
    } catch (const gltf::FileError&) {
    }
    brightfold::preview::decodeImagesAhead(scene);
    brightfold::preview::prepareForPreview(scene);
    return 0;
}
