// The one translation unit that compiles the stb single-file libraries the
// generator uses: TrueType parsing and rasterising, PNG writing, and the
// inflate decoder of stb_image (for WOFF tables), so the tool needs nothing
// beyond Debian's libstb-dev.
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#include <stb_image.h>
