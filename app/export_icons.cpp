// Writes the program icon's files into a folder: the icon group for Windows resources and one PNG
// a size for the desktop's icon theme. The files kept in app/icons/ are this tool's output; a test
// checks that they still are.

#include "app/icon_files.hpp"
#include "app/program_icon.hpp"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

bool Write(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: export_icons FOLDER\n";
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    std::filesystem::create_directories(folder);
    bool written =
        Write(folder / "brindledsc.ico", brindle::app::IcoFile(brindle::app::ProgramIcon()));
    for (const auto& image : brindle::app::ProgramIcon()) {
        std::string name = std::to_string(image.size);
        name += 'x';
        name += std::to_string(image.size);
        name += ".png";
        written = Write(folder / name, brindle::app::PngFile(image)) && written;
    }
    if (!written) {
        std::cerr << "export_icons: cannot write the icon files\n";
        return 1;
    }
    return 0;
}
