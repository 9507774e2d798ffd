// The implementations of the stb libraries the generator uses, which Debian's libstb-dev ships as
// headers: compiled once, here, for the platform at hand.
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb_image_resize.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

#define STB_DXT_IMPLEMENTATION
#include <stb_dxt.h>
