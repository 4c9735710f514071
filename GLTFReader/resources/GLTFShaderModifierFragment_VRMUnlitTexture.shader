// Unlit avatar materials: the colour is the diffuse texture times the base colour, with no
// lighting applied. Uniform baseColor is a vec4.
uniform vec4 baseColor;

void MAIN()
{
    fragmentColor = surface.diffuse * baseColor;
}
