// Temporary: loaders declared on GLTFUnarchiver whose real definitions are being written in
// their own source files. Each developer deletes a stub when its loader lands; this file goes
// away with the last one.
#include <GLTFReader/GLTFUnarchiver.h>

namespace {
[[noreturn]] void pending(const char* operation) {
    throw GLTFUnarchiveError::notSupported(std::string(operation) + ": not implemented yet");
}
} // namespace

gltf::ByteSlice GLTFUnarchiver::loadBuffer(std::int64_t) {
    pending("loadBuffer");
}
gltf::ByteSlice GLTFUnarchiver::loadBufferView(std::int64_t, std::optional<std::int64_t>) {
    pending("loadBufferView");
}
std::optional<std::int64_t> GLTFUnarchiver::getDataStride(std::int64_t) const {
    pending("getDataStride");
}
void GLTFUnarchiver::iterateBufferView(std::int64_t, std::size_t, std::size_t, std::size_t,
                                       const std::function<void(const std::uint8_t*)>&) {
    pending("iterateBufferView");
}
std::shared_ptr<scene::GeometrySource> GLTFUnarchiver::loadVertexAccessor(std::int64_t,
                                                                          scene::GeometrySemantic) {
    pending("loadVertexAccessor");
}
std::shared_ptr<scene::GeometryElement> GLTFUnarchiver::loadIndexAccessor(std::int64_t,
                                                                          std::int64_t) {
    pending("loadIndexAccessor");
}
std::pair<std::vector<scene::Value>, double> GLTFUnarchiver::loadKeyTimeAccessor(std::int64_t) {
    pending("loadKeyTimeAccessor");
}
std::vector<scene::Value> GLTFUnarchiver::loadValueAccessor(std::int64_t) {
    pending("loadValueAccessor");
}
std::vector<glm::dvec3> GLTFUnarchiver::createVertexArray(const scene::GeometrySource&) {
    pending("createVertexArray");
}
std::shared_ptr<scene::Node> GLTFUnarchiver::loadMesh(std::int64_t) {
    pending("loadMesh");
}
std::shared_ptr<scene::Material> GLTFUnarchiver::loadMaterial(std::int64_t) {
    pending("loadMaterial");
}
std::shared_ptr<scene::Image> GLTFUnarchiver::loadImage(std::int64_t) {
    pending("loadImage");
}
std::shared_ptr<scene::MaterialProperty> GLTFUnarchiver::loadTexture(std::int64_t) {
    pending("loadTexture");
}
void GLTFUnarchiver::setSampler(std::int64_t, scene::MaterialProperty&) {
    pending("setSampler");
}
void GLTFUnarchiver::setTexture(std::int64_t, scene::MaterialProperty&) {
    pending("setTexture");
}
std::shared_ptr<scene::Scene> GLTFUnarchiver::loadScene(std::int64_t) {
    pending("loadScene");
}
std::shared_ptr<scene::Node> GLTFUnarchiver::loadNode(std::int64_t) {
    pending("loadNode");
}
std::shared_ptr<scene::Camera> GLTFUnarchiver::loadCamera(std::int64_t) {
    pending("loadCamera");
}
std::shared_ptr<scene::Skinner> GLTFUnarchiver::loadSkin(std::int64_t,
                                                         const std::shared_ptr<scene::Node>&) {
    pending("loadSkin");
}
std::vector<scene::Matrix4> GLTFUnarchiver::loadInverseBindMatrices(std::int64_t) {
    pending("loadInverseBindMatrices");
}
double GLTFUnarchiver::getMaxAnimationDuration() {
    pending("getMaxAnimationDuration");
}
void GLTFUnarchiver::loadNodeAnimations(std::int64_t) {
    pending("loadNodeAnimations");
}
