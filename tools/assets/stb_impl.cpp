// The one translation unit that compiles the stb single-file libraries the
// generator uses: TrueType parsing and rasterising, and PNG writing.
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>
