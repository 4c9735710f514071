// Specular-glossiness surface without a specular-glossiness texture. The specular slot holds
// the specular colour with the glossiness in its alpha; the factors are 1.0 unless a diffuse
// texture took the diffuse slot's colour.
uniform float diffuseFactorR;
uniform float diffuseFactorG;
uniform float diffuseFactorB;
uniform float diffuseFactorA;
uniform float specularFactorR;
uniform float specularFactorG;
uniform float specularFactorB;
uniform float glossinessFactor;

void MAIN()
{
    vec4 diffuse = surface.diffuse *
                   vec4(diffuseFactorR, diffuseFactorG, diffuseFactorB, diffuseFactorA);
    vec3 specular = surface.specular.rgb *
                    vec3(specularFactorR, specularFactorG, specularFactorB);
    float glossiness = surface.specular.a * glossinessFactor;

    // Energy kept by the diffuse lobe, and the metalness that reproduces the specular colour.
    float specularStrength = max(max(specular.r, specular.g), specular.b);
    surface.diffuse = vec4(diffuse.rgb * (1.0 - specularStrength), diffuse.a);
    surface.metalness = clamp((specularStrength - 0.04) / 0.96, 0.0, 1.0);
    surface.roughness = clamp(1.0 - glossiness, 0.0, 1.0);
}
