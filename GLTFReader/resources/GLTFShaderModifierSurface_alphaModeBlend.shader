// Metallic-roughness surface for blended materials: as the opaque variant, but the base
// colour's alpha (texture alpha times factor) becomes the surface's coverage.
uniform float baseColorFactorR;
uniform float baseColorFactorG;
uniform float baseColorFactorB;
uniform float baseColorFactorA;
uniform float metallicFactor;
uniform float roughnessFactor;
uniform float emissiveFactorR;
uniform float emissiveFactorG;
uniform float emissiveFactorB;

void MAIN()
{
    vec4 baseColorFactor = vec4(baseColorFactorR, baseColorFactorG, baseColorFactorB,
                                baseColorFactorA);
    surface.diffuse *= baseColorFactor;
    surface.transparent = vec4(surface.diffuse.a);
    surface.metalness = clamp(surface.metalness * metallicFactor, 0.0, 1.0);
    surface.roughness = clamp(surface.roughness * roughnessFactor, 0.0, 1.0);
    surface.emission *= vec3(emissiveFactorR, emissiveFactorG, emissiveFactorB);
}
