#include <GLTFReader/GLTFGlTF.h>
#include <GLTFReader/JsonDecoder.h>

GLTFAsset GLTFAsset::decode(const gltf::JsonObject& json) {
    return {
        .copyright = json.optional<std::string>("copyright"),
        .generator = json.optional<std::string>("generator"),
        .version = json.required<std::string>("version"),
        .minVersion = json.optional<std::string>("minVersion"),
        .extensions = json.optional<GLTFExtension>("extensions"),
        .extras = json.optional<GLTFExtras>("extras"),
    };
}

GLTFGlTF GLTFGlTF::decode(const gltf::JsonObject& json) {
    using Names = std::vector<std::string>;
    return {
        .extensionsUsed = json.optional<Names>("extensionsUsed"),
        .extensionsRequired = json.optional<Names>("extensionsRequired"),
        .accessors = json.optional<std::vector<GLTFAccessor>>("accessors"),
        .animations = json.optional<std::vector<GLTFAnimation>>("animations"),
        .asset = json.required<GLTFAsset>("asset"),
        .buffers = json.optional<std::vector<GLTFBuffer>>("buffers"),
        .bufferViews = json.optional<std::vector<GLTFBufferView>>("bufferViews"),
        .cameras = json.optional<std::vector<GLTFCamera>>("cameras"),
        .images = json.optional<std::vector<GLTFImage>>("images"),
        .materials = json.optional<std::vector<GLTFMaterial>>("materials"),
        .meshes = json.optional<std::vector<GLTFMesh>>("meshes"),
        .nodes = json.optional<std::vector<GLTFNode>>("nodes"),
        .samplers = json.optional<std::vector<GLTFSampler>>("samplers"),
        .scene = json.optional<std::int64_t>("scene"),
        .scenes = json.optional<std::vector<GLTFScene>>("scenes"),
        .skins = json.optional<std::vector<GLTFSkin>>("skins"),
        .textures = json.optional<std::vector<GLTFTexture>>("textures"),
        .extensions = json.optional<GLTFExtension>("extensions"),
        .extras = json.optional<GLTFExtras>("extras"),
    };
}
