// Specular-glossiness surface whose specular colour and glossiness come from a texture placed
// in the multiply slot (rgb: specular, a: glossiness). The multiply slot would otherwise tint
// the lit colour, so it is reset to white once read. Back faces of double-sided materials
// sample the same texel, so the normal is flipped towards the viewer before lighting.
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
    vec3 specular = surface.multiply.rgb *
                    vec3(specularFactorR, specularFactorG, specularFactorB);
    float glossiness = surface.multiply.a * glossinessFactor;
    surface.multiply = vec4(1.0);

    float specularStrength = max(max(specular.r, specular.g), specular.b);
    surface.diffuse = vec4(diffuse.rgb * (1.0 - specularStrength), diffuse.a);
    surface.metalness = clamp((specularStrength - 0.04) / 0.96, 0.0, 1.0);
    surface.roughness = clamp(1.0 - glossiness, 0.0, 1.0);
    if (!gl_FrontFacing) {
        surface.normal = -surface.normal;
    }
}
