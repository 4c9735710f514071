#include "ScalarText.h"
#include "ValueText.h"

#include <USD/layer/FieldNames.h>
#include <USD/usda/UsdaWriter.h>
#include <algorithm>
#include <functional>
#include <map>
#include <set>

namespace usd {
namespace {

using usda::indentation;

// Fields a spec's header line or body already shows; they are not repeated
// among its metadata.
const std::set<std::string_view> primStructureFields{
    field::kSpecifier,  field::kTypeName,           field::kPrimChildren,
    field::kProperties, field::kVariantSetChildren, field::kVariantChildren};
const std::set<std::string_view> propertyStructureFields{
    field::kTypeName,    field::kCustom,          field::kVariability, field::kDefault,
    field::kTimeSamples, field::kConnectionPaths, field::kTargetPaths};

std::string metadataName(std::string_view fieldName) {
    return fieldName == "documentation" ? "doc" : std::string(fieldName);
}

const Token* tokenField(const Spec& spec, std::string_view name) {
    const Value* value = spec.field(name);
    return value ? value->get<Token>() : nullptr;
}

class LayerPrinter {
  public:
    explicit LayerPrinter(const Layer& layer) : layer_(layer) {
        for (const auto& [path, spec] : layer.specs())
            if (!path.isAbsoluteRoot())
                childrenOf_[listingParent(path)].push_back(path);
    }

    std::string print() {
        out_ = "#usda 1.0\n";
        const Spec* root = layer_.pseudoRoot();
        if (root != nullptr) {
            metadataBlock(*root, primStructureFields, 0);
            printChildren(Path::absoluteRoot(), *root, 0);
        }
        return std::move(out_);
    }

  private:
    // The entry whose children field lists `path`: variants are listed by their
    // variant set, everything else by the path one element up.
    static Path listingParent(const Path& path) {
        if (!path.isVariantSelectionPath() || path.isVariantSetPath())
            return path.parent();
        const std::string_view selection = path.name();
        return path.parent().appendVariantSelection(selection.substr(0, selection.find('=')), "");
    }

    void line(int indent, const std::string& text) { out_ += indentation(indent) + text + "\n"; }

    // "( name = value … )" after a header, or nothing when there is no metadata.
    void metadataBlock(const Spec& spec, const std::set<std::string_view>& shownElsewhere,
                       int indent) {
        std::vector<std::string> lines;
        for (const auto& [name, value] : spec.fields)
            if (!shownElsewhere.contains(name))
                appendFieldLines(lines, metadataName(name), value, indent + 1);
        if (lines.empty())
            return;
        line(indent, "(");
        for (const std::string& text : lines)
            line(indent + 1, text);
        line(indent, ")");
    }

    // One line per list of a list op ("prepend apiSchemas = […]"), else one line.
    static void appendFieldLines(std::vector<std::string>& lines, const std::string& name,
                                 const Value& value, int indent) {
        if (auto parts = usda::listOpParts(value)) {
            for (const usda::ListOpPart& part : *parts)
                lines.push_back((part.keyword.empty() ? "" : part.keyword + " ") + name + " = " +
                                part.items);
            return;
        }
        lines.push_back(name + " = " + usda::valueText(value, indent));
    }

    // The paths a children field lists, then any spec of that kind the field
    // misses; names listed without a spec become comments.
    void printListedChildren(const Path& parent, const Spec& spec, std::string_view childrenField,
                             const std::function<bool(const Path&)>& isOfKind,
                             const std::function<Path(const std::string&)>& childPath, int indent) {
        std::vector<Path> printed;
        if (const Value* value = spec.field(childrenField); value && value->holds<TokenVector>()) {
            for (const Token& name : value->get<TokenVector>()->items) {
                const Path path = tryChildPath(childPath, name.text);
                if (!path.isEmpty() && layer_.hasSpec(path)) {
                    printSpec(path, indent);
                    printed.push_back(path);
                } else {
                    line(indent, "# " + std::string(childrenField) + " lists " +
                                     usda::scalarText(name) + ", which has no spec");
                }
            }
        }
        for (const Path& path : childrenOf_[parent]) {
            if (!isOfKind(path) || std::ranges::find(printed, path) != printed.end())
                continue;
            line(indent, "# not listed in " + std::string(childrenField) + ", so USD ignores:");
            printSpec(path, indent);
        }
    }

    static Path tryChildPath(const std::function<Path(const std::string&)>& childPath,
                             const std::string& name) {
        try {
            return childPath(name);
        } catch (const PathError&) {
            return {};
        }
    }

    void printChildren(const Path& path, const Spec& spec, int indent) {
        printListedChildren(
            path, spec, field::kProperties, [](const Path& p) { return p.isPropertyPath(); },
            [&](const std::string& name) { return path.appendProperty(name); }, indent);
        printListedChildren(
            path, spec, field::kVariantSetChildren,
            [](const Path& p) { return p.isVariantSetPath(); },
            [&](const std::string& name) { return path.appendVariantSelection(name, ""); }, indent);
        printListedChildren(
            path, spec, field::kPrimChildren,
            [](const Path& p) { return p.isPrimPath() && !p.isVariantSelectionPath(); },
            [&](const std::string& name) { return path.appendChild(name); }, indent);
    }

    void printSpec(const Path& path, int indent) {
        const Spec& spec = *layer_.spec(path);
        switch (spec.type) {
        case SpecType::Attribute:
            return printAttribute(path, spec, indent);
        case SpecType::Relationship:
            return printRelationship(path, spec, indent);
        case SpecType::VariantSet:
            return printVariantSet(path, spec, indent);
        default:
            return printPrim(path, spec, indent);
        }
    }

    void printPrim(const Path& path, const Spec& spec, int indent) {
        std::string header;
        if (const Value* specifier = spec.field(field::kSpecifier);
            specifier && specifier->holds<Specifier>())
            header = usda::scalarText(*specifier->get<Specifier>()) + " ";
        if (const Token* typeName = tokenField(spec, field::kTypeName))
            header += typeName->text + " ";
        line(indent, header + usda::scalarText(std::string(path.name())));
        metadataBlock(spec, primStructureFields, indent);
        line(indent, "{");
        printChildren(path, spec, indent + 1);
        line(indent, "}");
    }

    void printVariantSet(const Path& path, const Spec& spec, int indent) {
        std::string setName(path.name());
        setName.pop_back(); // the name of "{set=}" is "set="
        line(indent, "variantSet " + usda::scalarText(setName) + " = {");
        printListedChildren(
            path, spec, field::kVariantChildren,
            [](const Path& p) { return p.isVariantSelectionPath(); },
            [&](const std::string& name) {
                return path.parent().appendVariantSelection(setName, name);
            },
            indent + 1);
        line(indent, "}");
    }

    std::string propertyHeader(const Spec& spec, const std::string& typeText,
                               Variability usual) const {
        std::string header;
        if (const Value* custom = spec.field(field::kCustom);
            custom && custom->get<bool>() && *custom->get<bool>())
            header += "custom ";
        if (const Value* variability = spec.field(field::kVariability);
            variability && variability->holds<Variability>() &&
            *variability->get<Variability>() != usual)
            header += usda::scalarText(*variability->get<Variability>()) + " ";
        return header + typeText + " ";
    }

    void printAttribute(const Path& path, const Spec& spec, int indent) {
        const Token* typeName = tokenField(spec, field::kTypeName);
        const std::string declaration =
            propertyHeader(spec, typeName ? typeName->text : "unknown", Variability::Varying) +
            std::string(path.name());
        const Value* value = spec.field(field::kDefault);
        if (value || (!spec.field(field::kTimeSamples) && !spec.field(field::kConnectionPaths)) ||
            hasMetadata(spec)) {
            line(indent, declaration + (value ? " = " + usda::valueText(*value, indent) : ""));
            metadataBlock(spec, propertyStructureFields, indent);
        }
        if (const Value* samples = spec.field(field::kTimeSamples))
            line(indent, declaration + ".timeSamples = " + usda::valueText(*samples, indent));
        printListOpField(spec, field::kConnectionPaths, declaration + ".connect", indent);
    }

    void printRelationship(const Path& path, const Spec& spec, int indent) {
        const std::string declaration =
            propertyHeader(spec, "rel", Variability::Uniform) + std::string(path.name());
        if (!spec.field(field::kTargetPaths) || hasMetadata(spec)) {
            line(indent, declaration);
            metadataBlock(spec, propertyStructureFields, indent);
        }
        printListOpField(spec, field::kTargetPaths, declaration, indent);
    }

    static bool hasMetadata(const Spec& spec) {
        return std::ranges::any_of(spec.fields, [](const auto& field) {
            return !propertyStructureFields.contains(field.first);
        });
    }

    void printListOpField(const Spec& spec, std::string_view fieldName, const std::string& name,
                          int indent) {
        const Value* value = spec.field(fieldName);
        if (value == nullptr)
            return;
        std::vector<std::string> lines;
        appendFieldLines(lines, name, *value, indent);
        for (const std::string& text : lines)
            line(indent, text);
    }

    const Layer& layer_;
    std::map<Path, std::vector<Path>> childrenOf_;
    std::string out_;
};

} // namespace

std::string toUsda(const Layer& layer) {
    return LayerPrinter(layer).print();
}

} // namespace usd
