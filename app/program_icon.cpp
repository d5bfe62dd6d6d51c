#include "app/program_icon.hpp"

#include <array>
#include <string_view>

// The program's icon, drawn as text: each character is one pixel, a hexadecimal digit naming a
// colour of the standard 16-colour palette ('C' blue, '9' red, 'F' white, '7' light grey, '8' dark
// grey) and '.' transparency. An oval disc, blue above and red below, parted by a jagged white line
// that runs slightly downhill from left to right, edged in light grey above and dark grey below.

namespace brindle::app {
namespace {

// clang-format off

constexpr std::array<std::string_view, 16> kDisc16{{
    "................",
    "................",
    "....77777777....",
    "...7CCCCCCCC7...",
    "..7CCCCCCCCCC8..",
    ".7CCCCCCCCCCCC8.",
    ".7CCCCCCCCCCCC8.",
    ".7CFFCCCFCCCCC8.",
    ".7F9FFCFFFCCFF8.",
    ".7999FFF9FFFFF8.",
    ".799999999FF998.",
    "..799999999998..",
    "...8999999998...",
    "....88888888....",
    "................",
    "................",
}};

constexpr std::array<std::string_view, 32> kDisc32{{
    "................................",
    "................................",
    "................................",
    ".............777777.............",
    ".........77777777777777.........",
    ".......777777CCCCCC777777.......",
    "......7777CCCCCCCCCCCC7777......",
    ".....777CCCCCCCCCCCCCCCC778.....",
    "....777CCCCCCCCCCCCCCCCCC888....",
    "...777CCCCCCCCCCCCCCCCCCCC888...",
    "..777CCCCCCCCCCCCCCCCCCCCCC888..",
    "..77CCCCCCCCCCCCCCCCCCCCCCCC88..",
    "..77CCCCCCCCCCCCCCCCCCCCCCCC88..",
    ".77CCCCCCCCCCCCCCCCCCCCCCCCCC88.",
    ".77CCCCFFFCCCCCCCCCCCCCCCCCCC88.",
    ".77CCCFFFFFCCCCCCFFCCCCCCCCCC88.",
    ".77FCFFF9FFFCCCFFFFFCCCCCCFFC88.",
    ".77FFFF999FFFCFFFFFFFCCCCFFFF88.",
    ".77FFF99999FFFFF999FFCCCFFFFF88.",
    "..7799999999FFF99999FFCFFF9988..",
    "..7799999999FF999999FFFFF99988..",
    "..7779999999999999999FF9999888..",
    "...77799999999999999999999888...",
    "....777999999999999999999888....",
    ".....7889999999999999999888.....",
    "......88889999999999998888......",
    ".......888888999999888888.......",
    ".........88888888888888.........",
    ".............888888.............",
    "................................",
    "................................",
    "................................",
}};

constexpr std::array<std::string_view, 48> kDisc48{{
    "................................................",
    "................................................",
    "................................................",
    "................................................",
    "................................................",
    "..................777777777777..................",
    "...............777777777777777777...............",
    "............777777777777777777777777............",
    "...........7777777CCCCCCCCCCCC7777777...........",
    ".........777777CCCCCCCCCCCCCCCCCC777777.........",
    "........77777CCCCCCCCCCCCCCCCCCCCCC77777........",
    ".......77777CCCCCCCCCCCCCCCCCCCCCCCC77788.......",
    "......7777CCCCCCCCCCCCCCCCCCCCCCCCCCCC8888......",
    ".....7777CCCCCCCCCCCCCCCCCCCCCCCCCCCCCC8888.....",
    "....7777CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC8888....",
    "....777CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC888....",
    "...7777CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC8888...",
    "...777CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC888...",
    "..7777CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC8888..",
    "..777CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC888..",
    "..777CCCCCCCCFCCCCCCCCCCCCCCCCCCCCCCCCCCCCC888..",
    "..777CCCCCCFFFFCCCCCCCCCCCCCCCCCCCCCCCCCCCC888..",
    "..777CCCCCFFFFFFCCCCCCCCCCFFCCCCCCCCCCCCCCC888..",
    ".777FCCCCFFFFFFFFCCCCCCCCFFFFCCCCCCCCCCCCCCC888.",
    ".777FFCCFFFFFFFFFFCCCCCCFFFFFFCCCCCCCCCCFCCC888.",
    "..777FCFFFF999FFFFCCCCCFFFFFFFCCCCCCCCCFFFC888..",
    "..777FFFFF99999FFFFCCFFFFF9FFFFCCCCCCFFFFFF888..",
    "..777FFFF9999999FFFFFFFFF999FFFFCCCCFFFFFFF888..",
    "..777FFF999999999FFFFFFF99999FFFFCCFFFFF9FF888..",
    "..7777999999999999FFFFF9999999FFFFFFFFF9998888..",
    "...7779999999999999FFF999999999FFFFFFF9999888...",
    "...77779999999999999999999999999FFFF999998888...",
    "....77799999999999999999999999999FF999999888....",
    "....7777999999999999999999999999999999998888....",
    ".....77779999999999999999999999999999998888.....",
    "......777799999999999999999999999999998888......",
    ".......7788899999999999999999999999988888.......",
    "........88888999999999999999999999988888........",
    ".........888888999999999999999999888888.........",
    "...........88888889999999999998888888...........",
    "............888888888888888888888888............",
    "...............888888888888888888...............",
    "..................888888888888..................",
    "................................................",
    "................................................",
    "................................................",
    "................................................",
    "................................................",
}};

// clang-format on

constexpr std::array<platform::IndexedImage, 3> kImages{{
    {16, kDisc16},
    {32, kDisc32},
    {48, kDisc48},
}};

} // namespace

std::span<const platform::IndexedImage> ProgramIcon() noexcept {
    return kImages;
}

} // namespace brindle::app
