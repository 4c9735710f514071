#include <Brightfold/Manual/References.h>

namespace brightfold::manual {

const CommandReference& convertReference() {
    static const CommandReference reference{
        .name = "brightfold-convert",
        .purpose = "convert 3D models to USDZ packages",
        .synopsis = {"[-r] [-j N] [--quiet] [--verbose] [-o OUT] [--profile ar|usd] "
                     "[--max-texture-size N|keep] [--texture-budget MiB] [--max-triangles N] "
                     "[--animation NAME|INDEX] FILE|FOLDER...",
                     "--check [--texture-budget MiB] FILE..."},
        .description =
            {"Converts .gltf, .glb, .vrm, .usdc and .usd (crate) files to USDZ packages, saved "
             "beside each source as NAME.usdz (an existing file there is replaced only once the "
             "new one is complete); a .usdz package is read and written again for AR Quick Look "
             "as NAME-ar.usdz beside it. A folder stands for the .gltf, .glb, .vrm, .usdc and "
             ".usdz files in it, in name order.",
             "One line per file tells where the package went or why the file failed, followed "
             "by its notes: what the package leaves out or approximates."},
        .options =
            {{"-o OUT", "save at OUT instead (one input file), or inside the folder OUT; the "
                        "files of a folder keep their sub-folders there"},
             {"-r", "look into sub-folders of folders too"},
             {"-j N", "convert N files at a time (default: the number of cores)"},
             {"-q, --quiet", "no progress bar"},
             {"-v, --verbose", "also the glTF reader's trace lines, on standard error"},
             {"--profile ar", "(the default) a package AR Quick Look accepts: lights, curves and "
                              "other prims it does not show are left out, each with a note"},
             {"--profile usd", "everything the model holds, for USD tools"},
             {"--max-texture-size N|keep",
              "textures longer than N pixels on a side are downscaled (default 2048)"},
             {"--texture-budget MiB",
              "all textures, decompressed with their mip levels, fitted into MiB by halving the "
              "largest first (default 160; 0 for no limit)"},
             {"--max-triangles N", "meshes simplified to at most N triangles in all (default: "
                                   "kept)"},
             {"--animation NAME|INDEX",
              "the animation clip to keep, by name or by its index in the file"},
             {"--check", "check each .usdz (or .usdc) against AR Quick Look's rules and budgets "
                         "instead: one line per problem, then a verdict line per file"},
             {"-h, --help", "this text"}},
        .exitStatus = {"0 when every file converted (or passed the check), 1 when any failed, 2 "
                       "for a bad command line."},
        .seeAlso = {"brightfold", "brightfold-thumbnailer"},
    };
    return reference;
}

} // namespace brightfold::manual
