#include "ByteSink.h"
#include "PathTable.h"
#include "ProgressReporter.h"
#include "Sections.h"
#include "TokenTables.h"
#include "ValuePacker.h"

#include <USD/crate_writer/CrateWriter.h>
#include <USD/layer/FieldNames.h>
#include <algorithm>
#include <array>
#include <map>
#include <type_traits>

namespace usd {
namespace {

using crate::ValueRep;

// Children lists go after the other fields, as USD itself writes them.
constexpr std::array childrenFields{field::kPrimChildren, field::kProperties,
                                    field::kVariantSetChildren, field::kVariantChildren};

bool isChildrenField(std::string_view name) {
    return std::ranges::find(childrenFields, name) != childrenFields.end();
}

// The fields worth writing, in file order. Empty values mean "no value" and
// are left out.
template <typename SpecFields> auto fieldsInFileOrder(SpecFields& specFields) {
    using ValuePointer = decltype(&specFields.begin()->second);
    std::vector<std::pair<std::string_view, ValuePointer>> fields;
    for (auto& [name, value] : specFields)
        if (!isChildrenField(name) && !value.isEmpty())
            fields.emplace_back(name, &value);
    for (std::string_view name : childrenFields)
        if (const auto found = specFields.find(name);
            found != specFields.end() && !found->second.isEmpty())
            fields.emplace_back(name, &found->second);
    return fields;
}

std::uint64_t estimatedBytes(const Layer& layer) {
    std::uint64_t total = 0;
    for (const auto& [path, spec] : layer.specs())
        for (const auto& [name, value] : spec.fields)
            total += crate::estimatedBytes(value);
    return total;
}

class CrateBuilder {
  public:
    CrateBuilder(const Layer& layer, const WriteProgress& progress)
        : progress_(progress, estimatedBytes(layer)) {
        out_.reserve(crate::kBootstrapSize + estimatedBytes(layer));
        out_.append(std::array<std::uint8_t, crate::kBootstrapSize>{}); // filled in last
    }

    std::vector<std::uint8_t> build(const Layer& layer) {
        for (const auto& [path, spec] : layer.specs())
            addSpec(path, spec);
        return finish();
    }

    std::vector<std::uint8_t> buildReleasing(Layer& layer) {
        for (const auto& [path, spec] : layer.specs())
            addSpec(path, *layer.spec(path));
        return finish();
    }

  private:
    std::vector<std::uint8_t> finish() {
        const crate::EncodedPathTree tree = paths_.encodeTree();
        crate::writeSectionsAndBootstrap(out_,
                                         {tokens_.tokens(), strings_.tokenIndexes(), fieldNames_,
                                          fieldReps_, fieldSets_, paths_.size(), tree, specPaths_,
                                          specFieldSets_, specTypes_},
                                         packer_.versionNeeded());
        progress_.finish();
        return out_.release();
    }

    // Values first, then field names, then the path: the order that gives the
    // same token numbering as USD's own files. A spec given writable has its values emptied
    // once they are packed.
    template <typename SpecOrConst> void addSpec(const Path& path, SpecOrConst& spec) {
        const auto fields = fieldsInFileOrder(spec.fields);
        std::vector<ValueRep> reps;
        reps.reserve(fields.size());
        for (const auto& [name, value] : fields) {
            reps.push_back(packer_.pack(*value));
            progress_.advance(crate::estimatedBytes(*value));
            if constexpr (!std::is_const_v<SpecOrConst>)
                *value = Value();
        }
        std::vector<std::uint32_t> run;
        run.reserve(fields.size() + 1);
        for (std::size_t i = 0; i < fields.size(); ++i)
            run.push_back(fieldIndex(tokens_.add(fields[i].first), reps[i]));
        run.push_back(crate::kInvalidIndex);
        specFieldSets_.push_back(fieldSetIndex(run));
        specPaths_.push_back(paths_.add(path));
        specTypes_.push_back(static_cast<std::uint32_t>(spec.type));
    }

    std::uint32_t fieldIndex(std::uint32_t nameToken, ValueRep rep) {
        const auto [found, added] = fieldIndexes_.try_emplace(
            {nameToken, rep.bits()}, static_cast<std::uint32_t>(fieldNames_.size()));
        if (added) {
            fieldNames_.push_back(nameToken);
            fieldReps_.push_back(rep.bits());
        }
        return found->second;
    }

    // Specs with identical field lists share one run.
    std::uint32_t fieldSetIndex(const std::vector<std::uint32_t>& run) {
        const auto [found, added] =
            fieldSetIndexes_.try_emplace(run, static_cast<std::uint32_t>(fieldSets_.size()));
        if (added)
            fieldSets_.insert(fieldSets_.end(), run.begin(), run.end());
        return found->second;
    }

    crate::ByteSink out_;
    crate::TokenTable tokens_;
    crate::StringTable strings_{tokens_};
    crate::PathTable paths_{tokens_};
    crate::ValuePacker packer_{out_, tokens_, strings_, paths_};
    crate::ProgressReporter progress_;
    std::vector<std::uint32_t> fieldNames_;
    std::vector<std::uint64_t> fieldReps_;
    std::map<std::pair<std::uint32_t, std::uint64_t>, std::uint32_t> fieldIndexes_;
    std::vector<std::uint32_t> fieldSets_;
    std::map<std::vector<std::uint32_t>, std::uint32_t> fieldSetIndexes_;
    std::vector<std::uint32_t> specPaths_;
    std::vector<std::uint32_t> specFieldSets_;
    std::vector<std::uint32_t> specTypes_;
};

} // namespace

std::vector<std::uint8_t> writeCrate(const Layer& layer, const WriteProgress& progress) {
    return CrateBuilder(layer, progress).build(layer);
}

std::vector<std::uint8_t> writeCrate(Layer&& layer, const WriteProgress& progress) {
    Layer consumed = std::move(layer);
    return CrateBuilder(consumed, progress).buildReleasing(consumed);
}

} // namespace usd
