// Masked materials: fragments whose base-colour alpha falls below the cutoff are dropped,
// the rest are drawn fully opaque.
uniform float alphaCutoff;
uniform float baseColorFactorA;

void MAIN()
{
    if (surface.diffuse.a * baseColorFactorA < alphaCutoff) {
        discard;
    }
    fragmentColor.a = 1.0;
}
