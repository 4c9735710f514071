#include <Brightfold/Manual/References.h>

namespace brightfold::manual {

const CommandReference& appReference() {
    static const CommandReference reference{
        .name = "brightfold",
        .purpose = "turn 3D models into USDZ packages in a window, and view them",
        .synopsis = {"[--view] [FILE...]"},
        .description =
            {"Turns a .gltf, .glb, .vrm, .usdc or .usd model into a USDZ package, previews it "
             "and saves it beside the model. A .usdz package is shown as it is. With several "
             "files only the first is opened."},
        .options = {{"--view",
                     "show the file (a .usdz package or a .usdc layer) without converting it"},
                    {"-h, --help", "print this help and exit"},
                    {"-v, --version", "print the version and exit"}},
        .exitStatus = {"2 for a bad command line."},
        .seeAlso = {"brightfold-convert", "brightfold-thumbnailer"},
    };
    return reference;
}

} // namespace brightfold::manual
