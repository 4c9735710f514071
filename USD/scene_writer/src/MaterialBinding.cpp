#include "MaterialBinding.h"

#include <USD/FieldNames.h>

namespace usd::writer {

void bindMaterial(LayerBuilder& build, const Path& prim, const Path& material) {
    build.setMetadata(prim, field::kApiSchemas,
                      TokenListOp::makePrepended({Token{"MaterialBindingAPI"}}));
    build.addRelationship(prim, "material:binding", {material});
}

} // namespace usd::writer
