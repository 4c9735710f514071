// Unlit avatar materials in cut-out mode: as the plain unlit text, but fragments whose alpha
// falls below the cutoff are dropped and the rest are drawn opaque. Uniform baseColor is a
// vec4.
uniform vec4 baseColor;
uniform float alphaCutoff;

void MAIN()
{
    vec4 color = surface.diffuse * baseColor;
    if (color.a < alphaCutoff) {
        discard;
    }
    fragmentColor = vec4(color.rgb, 1.0);
}
