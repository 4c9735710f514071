// brightfold-man-page NAME VERSION: prints the manual page of one of the programs, for the
// build to install.
#include <Brightfold/Manual/References.h>
#include <cstdio>
#include <functional>
#include <map>
#include <string>

int main(int argc, char** argv) {
    using namespace brightfold::manual;
    const std::map<std::string, std::function<const CommandReference&()>> references = {
        {"brightfold", appReference},
        {"brightfold-convert", convertReference},
        {"brightfold-thumbnailer", thumbnailerReference}};
    const auto found = argc == 3 ? references.find(argv[1]) : references.end();
    if (found == references.end()) {
        std::fputs("usage: brightfold-man-page brightfold|brightfold-convert|"
                   "brightfold-thumbnailer VERSION\n",
                   stderr);
        return 2;
    }
    std::fputs(manPage(found->second(), argv[2]).c_str(), stdout);
    return 0;
}
