// Writes the HX9 image to the path given; run by the build.

#include "virtualboard/FpgaImage.h"

#include <cstdio>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: hx9-make-image OUTPUT\n");
        return 2;
    }
    const std::vector<uint8_t> image = vboard::MakeHx9Image();
    const std::string path = argv[1];
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(image.data()),
                  static_cast<std::streamsize>(image.size()));
        if (!out.flush())
        {
            std::fprintf(stderr, "hx9-make-image: cannot write '%s'\n", temporary.c_str());
            return 1;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0)
    {
        std::perror("hx9-make-image: rename");
        return 1;
    }
    return 0;
}
