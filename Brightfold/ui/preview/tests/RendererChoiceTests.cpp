#include <Brightfold/Preview/SoftwareRendering.h>
#include <gtest/gtest.h>
#include <string_view>

namespace brightfold::preview {
namespace {

// GL_RENDERER strings as drivers report them.
TEST(SoftwareRenderer, MesaCpuDriversAreRecognisedAndGpuDriversBuiltWithLlvmAreNot) {
    for (const std::string_view software : {
             "llvmpipe (LLVM 15.0.6, 256 bits)",
             "softpipe",
             "Software Rasterizer",
             "zink Vulkan 1.3(llvmpipe (LLVM 15.0.6, 256 bits) (MESA_LLVMPIPE))",
         }) {
        EXPECT_TRUE(isSoftwareRenderer(software)) << software;
    }
    for (const std::string_view gpu : {
             "AMD Radeon RX 580 Series (polaris10, LLVM 15.0.6, DRM 3.49, 6.1.0-13-amd64)",
             "Mesa Intel(R) UHD Graphics 620 (KBL GT2)",
             "NVIDIA GeForce GTX 1650/PCIe/SSE2",
             "virgl (Mesa)",
             "SVGA3D; build: RELEASE;  LLVM;",
             "",
         }) {
        EXPECT_FALSE(isSoftwareRenderer(gpu)) << gpu;
    }
}

} // namespace
} // namespace brightfold::preview
