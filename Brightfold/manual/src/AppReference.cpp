#include <Brightfold/Manual/References.h>

namespace brightfold::manual {

const CommandReference& appReference() {
    static const CommandReference reference{
        .name = "brightfold",
        .purpose = "turn 3D models into USDZ packages in a window, and view them",
        .synopsis = {"[--view] [FILE...]", "--convert FILE..."},
        .description =
            {"Turns a .gltf, .glb, .vrm, .usdc or .usd model into a USDZ package, previews it "
             "and saves it beside the model. A .usdz package is shown as it is. With several "
             "files only the first is opened.",
             "With --convert no window opens: each file is converted and saved beside itself "
             "as NAME.usdz, and a desktop notification tells how it went and how many notes the "
             "conversion made. When a file fails, the window opens on it to say why. File "
             "managers offer this as \"Convert to USDZ\" on a model's menu."},
        .options = {{"--view",
                     "show the file (a .usdz package or a .usdc layer) without converting it"},
                    {"--convert",
                     "convert each file beside itself without opening the window (with "
                     "no file, the window opens)"},
                    {"-h, --help", "print this help and exit"},
                    {"-v, --version", "print the version and exit"}},
        .exitStatus = {"With --convert: 0 when every file converted, 1 when any failed. "
                       "2 for a bad command line."},
        .seeAlso = {"brightfold-convert", "brightfold-thumbnailer"},
    };
    return reference;
}

} // namespace brightfold::manual
