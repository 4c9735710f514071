// Metallic-roughness surface. A factor arrives as a uniform only where a texture took the
// slot's colour; without a texture the uniform is 1.0 and the slot already holds the factor.
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
    surface.diffuse = vec4(surface.diffuse.rgb * baseColorFactor.rgb, 1.0);
    surface.metalness = clamp(surface.metalness * metallicFactor, 0.0, 1.0);
    surface.roughness = clamp(surface.roughness * roughnessFactor, 0.0, 1.0);
    surface.emission *= vec3(emissiveFactorR, emissiveFactorG, emissiveFactorB);
}
