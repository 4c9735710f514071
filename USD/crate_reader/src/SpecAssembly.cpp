#include "SpecAssembly.h"

#include "ArrayValues.h"
#include "ValueDecoder.h"

#include <USD/layer/FieldNames.h>

namespace usd::crate {

namespace {

constexpr std::string_view kAnyTypePlaceholder = "__AnyType__";

// Whether a spec of this type may live at this path; other combinations cannot be
// placed in a layer and are dropped.
bool fitsPath(SpecType type, const Path& path) {
    switch (type) {
    case SpecType::PseudoRoot:
        return path.isAbsoluteRoot();
    case SpecType::Prim:
        return path.isPrimPath() && !path.isVariantSelectionPath();
    case SpecType::Attribute:
    case SpecType::Relationship:
        return path.isPropertyPath();
    case SpecType::Variant:
        return path.isVariantSelectionPath() && !path.isVariantSetPath();
    case SpecType::VariantSet:
        return path.isVariantSetPath();
    default:
        return false;
    }
}

// Relationship-target and connection specs of the oldest files, and the legacy
// expression/mapper kinds: current layers record none of them as specs.
bool isLegacySpecType(std::uint32_t type) {
    return type >= static_cast<std::uint32_t>(SpecType::Connection) &&
           (type <= static_cast<std::uint32_t>(SpecType::MapperArg) ||
            type == static_cast<std::uint32_t>(SpecType::RelationshipTarget));
}

bool isLegacyChildrenField(std::string_view name) {
    return name == field::kTargetChildren || name == field::kConnectionChildren;
}

// Files before 0.8.0 hold one payload; it means an explicit list of that payload, or an
// explicit empty list when it names no asset.
Value payloadAsListOp(const Payload& payload) {
    return payload.assetPath.empty() ? PayloadListOp::makeExplicit({})
                                     : PayloadListOp::makeExplicit({payload});
}

class LayerAssembler {
  public:
    LayerAssembler(std::span<const std::uint8_t> file, const Version& version,
                   const CrateTables& tables, CrateReadWarnings* warnings)
        : file_(file), version_(version), tables_(tables), warnings_(warnings),
          budget_(DecodeBudget::forFileSize(file.size())), decoder_(makeDecoder()) {}

    Layer assemble() {
        for (std::size_t i = 0; i < tables_.specs.size(); ++i) {
            addSpec(i, tables_.specs[i]);
        }
        if (!layer_.hasSpec(Path::absoluteRoot())) {
            throw FormatError("the file has no pseudo-root spec");
        }
        addArrayFields();
        return std::move(layer_);
    }

  private:
    // Every thread decoding values has one, all drawing on the one budget.
    ValueDecoder makeDecoder() {
        return ValueDecoder(file_, version_, {tables_.tokens, tables_.strings, tables_.paths},
                            budget_);
    }

    void warn(std::string message) {
        budget_.charge(message.size());
        if (warnings_ != nullptr) {
            warnings_->push_back(std::move(message));
        }
    }

    void addSpec(std::size_t index, const SpecRecord& record) {
        if (isLegacySpecType(record.specType)) {
            return;
        }
        const std::string where = "spec " + std::to_string(index);
        if (record.pathIndex >= tables_.paths.size() || tables_.paths[record.pathIndex].isEmpty()) {
            warn(where + " has no usable path; dropped");
            return;
        }
        const Path& path = tables_.paths[record.pathIndex];
        const auto type = static_cast<SpecType>(record.specType);
        if (record.specType > static_cast<std::uint32_t>(SpecType::VariantSet) ||
            !fitsPath(type, path)) {
            warn(where + " of type " + std::to_string(record.specType) + " cannot be placed at " +
                 path.text() + "; dropped");
            return;
        }
        if (layer_.hasSpec(path)) {
            warn(where + " repeats the path " + path.text() + "; dropped");
            return;
        }
        budget_.charge(sizeof(Spec) + path.text().size());
        Spec& spec = layer_.createSpec(path, type);
        addFields(spec, path, record.fieldSetIndex);
        modernize(spec);
    }

    void addFields(Spec& spec, const Path& path, std::uint32_t fieldSetStart) {
        for (std::size_t i = fieldSetStart; tables_.fieldSets[i] != kInvalidIndex; ++i) {
            const Field& field = tables_.fields[tables_.fieldSets[i]];
            const std::string& name = tables_.tokens[field.nameToken];
            if (isLegacyChildrenField(name)) {
                continue;
            }
            if (isStoredArray(field.value)) {
                arrayFields_.push_back({&spec, &path, name});
                arrayReps_.push_back(field.value);
                continue;
            }
            try {
                spec.setField(name, decoder_.decode(field.value));
            } catch (const DecodeLimitExceeded&) {
                throw;
            } catch (const FormatError& error) {
                warn("field " + name + " of " + path.text() + " left out: " + error.what());
            }
        }
    }

    // The array values, decoded together once every spec is in place; specs live in a map, so
    // the pointers to them stay valid.
    void addArrayFields() {
        std::vector<DecodedArray> decoded =
            decodeArrays(arrayReps_, file_.size(), [this] { return makeDecoder(); });
        for (std::size_t i = 0; i < decoded.size(); ++i) {
            const ArrayField& field = arrayFields_[i];
            if (decoded[i].value) {
                field.spec->setField(field.name, std::move(*decoded[i].value));
            } else {
                warn("field " + field.name + " of " + field.path->text() +
                     " left out: " + decoded[i].error);
            }
        }
    }

    static void modernize(Spec& spec) {
        if (spec.type == SpecType::Prim) {
            const Value* typeName = spec.field(field::kTypeName);
            if (typeName && typeName->holds<Token>() &&
                typeName->get<Token>()->text == kAnyTypePlaceholder) {
                spec.fields.erase(std::string(field::kTypeName));
            }
        }
        const auto payload = spec.fields.find(field::kPayload);
        if (payload != spec.fields.end() && payload->second.holds<Payload>()) {
            payload->second = payloadAsListOp(*payload->second.get<Payload>());
        }
    }

    struct ArrayField {
        Spec* spec;
        const Path* path;
        std::string name;
    };

    std::span<const std::uint8_t> file_;
    Version version_;
    const CrateTables& tables_;
    CrateReadWarnings* warnings_;
    DecodeBudget budget_;
    ValueDecoder decoder_;
    Layer layer_;
    std::vector<ArrayField> arrayFields_;
    std::vector<ValueRep> arrayReps_;
};

} // namespace

Layer assembleLayer(std::span<const std::uint8_t> file, const Version& version,
                    const CrateTables& tables, CrateReadWarnings* warnings) {
    return LayerAssembler(file, version, tables, warnings).assemble();
}

} // namespace usd::crate
