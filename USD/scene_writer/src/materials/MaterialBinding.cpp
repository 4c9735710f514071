#include "materials/MaterialBinding.h"

#include "ApiSchemas.h"

namespace usd::writer {

void bindMaterial(LayerBuilder& build, const Path& prim, const Path& material) {
    applySchema(build, prim, "MaterialBindingAPI");
    build.addRelationship(prim, "material:binding", {material});
}

} // namespace usd::writer
