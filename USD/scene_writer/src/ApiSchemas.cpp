#include "ApiSchemas.h"

#include <USD/layer/FieldNames.h>
#include <algorithm>

namespace usd::writer {

void applySchema(LayerBuilder& build, const Path& prim, std::string_view schema) {
    std::vector<Token> schemas;
    if (const Spec* spec = build.layer().spec(prim))
        if (const Value* value = spec->field(field::kApiSchemas))
            if (const auto* applied = value->get<TokenListOp>())
                schemas = applied->prependedItems;
    if (std::ranges::find(schemas, Token{std::string(schema)}) != schemas.end())
        return;
    schemas.push_back(Token{std::string(schema)});
    build.setMetadata(prim, field::kApiSchemas, TokenListOp::makePrepended(std::move(schemas)));
}

} // namespace usd::writer
