#include "DumpCommand.h"

#include <Base/MappedFile.h>
#include <SceneGraph/SceneDump.h>
#include <USD/crate_reader/CrateReader.h>
#include <USD/package/PackageReader.h>
#include <USD/scene_reader/SceneReader.h>
#include <USD/usda/UsdaWriter.h>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string_view>

namespace usd::dump {
namespace {

constexpr std::string_view usage = "usage: usd-dump FILE[.usdc|.usdz] [--entry NAME | --scene]";

struct Options {
    std::string file;
    std::optional<std::string> entry;
    bool scene = false; // print the scene the file reads into instead of its layer
};

std::optional<Options> parseArguments(const std::vector<std::string>& arguments) {
    Options options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--entry" && i + 1 < arguments.size() && !options.entry)
            options.entry = arguments[++i];
        else if (arguments[i] == "--scene" && !options.scene)
            options.scene = true;
        else if (options.file.empty() && !arguments[i].starts_with("--"))
            options.file = arguments[i];
        else
            return std::nullopt;
    }
    if (options.file.empty() || (options.scene && options.entry))
        return std::nullopt;
    return options;
}

bool startsWith(std::span<const std::uint8_t> bytes, std::string_view prefix) {
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

// Prints one layer, whatever its form: a crate file is read and written out as
// text; a text layer already is text.
void dumpLayer(std::span<const std::uint8_t> bytes, const std::string& name, std::ostream& out,
               std::ostream& errors) {
    if (startsWith(bytes, "#usda")) {
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return;
    }
    if (!startsWith(bytes, "PXR-USDC"))
        throw std::runtime_error(name + " is not a USD layer (neither crate nor text)");
    CrateReadWarnings warnings;
    Layer layer;
    try {
        layer = readCrate(bytes, &warnings);
    } catch (const FormatError& error) {
        throw std::runtime_error(name + ": " + error.what());
    }
    for (const std::string& warning : warnings)
        errors << "usd-dump: warning: " << name << ": " << warning << '\n';
    out << toUsda(layer);
}

void dumpPackageEntry(const Options& options, std::ostream& out, std::ostream& errors) {
    const PackageReader package = PackageReader::open(options.file);
    const PackageEntry* entry = options.entry ? package.find(*options.entry) : &package.rootLayer();
    if (entry == nullptr)
        throw std::runtime_error("'" + options.file + "' has no entry '" + *options.entry + "'");
    dumpLayer(entry->bytes, "'" + options.file + "[" + entry->name + "]'", out, errors);
}

bool isPackage(std::span<const std::uint8_t> bytes) {
    return startsWith(bytes, "PK\x03\x04") || startsWith(bytes, "PK\x05\x06");
}

void dumpScene(const Options& options, bool package, std::ostream& out, std::ostream& errors) {
    SceneReadNotes notes;
    const auto scene =
        package ? readUSDZ(options.file, notes) : readUSDLayerFile(options.file, notes);
    for (const std::string& note : notes)
        errors << "usd-dump: warning: " << note << '\n';
    out << scene::dumpScene(*scene);
}

void dump(const Options& options, std::ostream& out, std::ostream& errors) {
    const base::MappedFile file(options.file);
    if (options.scene)
        return dumpScene(options, isPackage(file.bytes()), out, errors);
    if (isPackage(file.bytes()))
        return dumpPackageEntry(options, out, errors);
    if (options.entry)
        throw std::runtime_error("'" + options.file + "' is not a USDZ package; --entry needs one");
    dumpLayer(file.bytes(), "'" + options.file + "'", out, errors);
}

} // namespace

int runDumpCommand(const std::vector<std::string>& arguments, std::ostream& out,
                   std::ostream& errors) {
    const auto options = parseArguments(arguments);
    if (!options) {
        errors << usage << '\n';
        return 2;
    }
    try {
        dump(*options, out, errors);
        return 0;
    } catch (const std::exception& error) {
        errors << "usd-dump: " << error.what() << '\n';
        return 1;
    }
}

} // namespace usd::dump
