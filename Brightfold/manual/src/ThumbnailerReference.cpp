#include <Brightfold/Manual/References.h>

namespace brightfold::manual {

const CommandReference& thumbnailerReference() {
    static const CommandReference reference{
        .name = "brightfold-thumbnailer",
        .purpose = "draw a picture of a 3D model for a file manager",
        .synopsis = {"-s SIZE INPUT OUTPUT.png"},
        .description =
            {"Draws the model in INPUT (.glb, .gltf, .vrm, .usdz, .usdc or .usd) as the "
             "preview first shows it, from three quarters and above, on a transparent "
             "background, and saves it as a PNG picture SIZE pixels square at OUTPUT. File "
             "managers run it for the model files they show; it needs no display.",
             "Inputs larger than 100 MiB are refused, and a model is read under the same limits "
             "as a conversion. Nothing but OUTPUT is written, and OUTPUT only once the picture "
             "is complete."},
        .options = {{"-s SIZE", "the picture's side in pixels, 1 to 2048"},
                    {"-h, --help", "print this help and exit"}},
        .exitStatus = {"0 when the picture was saved, 1 when the model could not be drawn, 2 "
                       "for a bad command line."},
        .seeAlso = {"brightfold", "brightfold-convert"},
    };
    return reference;
}

} // namespace brightfold::manual
