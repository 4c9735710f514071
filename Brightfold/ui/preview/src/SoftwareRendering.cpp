#include <Brightfold/Preview/SoftwareRendering.h>
#include <QByteArray>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <array>
#include <atomic>

namespace brightfold::preview {
namespace {

std::atomic<bool> softwareRendering{false};

// The window's own context exists only once it is first drawn, and the choices must be made
// before anything is drawn; a context of the same format gets the same driver.
QByteArray openGLRendererName() {
    QOffscreenSurface surface;
    surface.setFormat(QSurfaceFormat::defaultFormat());
    surface.create();
    QOpenGLContext context;
    if (!surface.isValid() || !context.create() || !context.makeCurrent(&surface)) {
        return {};
    }
    const auto* name = reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER));
    QByteArray result(name != nullptr ? name : "");
    context.doneCurrent();
    return result;
}

} // namespace

bool isSoftwareRenderer(std::string_view glRenderer) {
    // "llvmpipe (LLVM 15.0.6, 256 bits)", also inside a layered driver's name ("zink (… llvmpipe
    // …)"), "softpipe", "Software Rasterizer" (swrast). Mesa's GPU drivers built with LLVM name it
    // in capitals ("LLVM 15.0.6") and never as "llvmpipe".
    constexpr std::array<std::string_view, 4> softwareNames = {"llvmpipe", "softpipe", "swrast",
                                                               "Software Rasterizer"};
    for (const std::string_view name : softwareNames) {
        if (glRenderer.find(name) != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

void detectSoftwareRendering() {
    const QByteArray name = openGLRendererName();
    softwareRendering = isSoftwareRenderer(std::string_view(name.constData(), name.size()));
}

bool rendersInSoftware() {
    return softwareRendering;
}

} // namespace brightfold::preview
