// Header of a full-screen post pass (the pass files under shaders/postprocessors/ and the
// scenes' own image passes): the previous pass's picture, the render size and the one colour
// output. A pass includes this once, before any snippet; it declares what it reads besides
// these itself.
uniform sampler2D renderTexture;
uniform vec2 resolution;
out vec4 fragColor;
