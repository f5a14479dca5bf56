#include "platform/keyboard/KeyPositions.h"

#include <array>
#include <utility>

namespace Platform::KeyPositions {
namespace {

struct Position {
    std::uint16_t keyCode;
    std::string_view name;
};

// Letters, digits and punctuation of the ANSI block, then the named keys, the keypad and
// the function keys. Key code 10 (the extra ISO key) is the PC's key beside left shift.
constexpr std::array positions{
    Position{0, "AC01"},  Position{1, "AC02"},   Position{2, "AC03"},   Position{3, "AC04"},
    Position{4, "AC06"},  Position{5, "AC05"},   Position{6, "AB01"},   Position{7, "AB02"},
    Position{8, "AB03"},  Position{9, "AB04"},   Position{10, "LSGT"},  Position{11, "AB05"},
    Position{12, "AD01"}, Position{13, "AD02"},  Position{14, "AD03"},  Position{15, "AD04"},
    Position{16, "AD06"}, Position{17, "AD05"},  Position{18, "AE01"},  Position{19, "AE02"},
    Position{20, "AE03"}, Position{21, "AE04"},  Position{22, "AE06"},  Position{23, "AE05"},
    Position{24, "AE12"}, Position{25, "AE09"},  Position{26, "AE07"},  Position{27, "AE11"},
    Position{28, "AE08"}, Position{29, "AE10"},  Position{30, "AD12"},  Position{31, "AD09"},
    Position{32, "AD07"}, Position{33, "AD11"},  Position{34, "AD08"},  Position{35, "AD10"},
    Position{36, "RTRN"}, Position{37, "AC09"},  Position{38, "AC07"},  Position{39, "AC11"},
    Position{40, "AC08"}, Position{41, "AC10"},  Position{42, "BKSL"},  Position{43, "AB08"},
    Position{44, "AB10"}, Position{45, "AB06"},  Position{46, "AB07"},  Position{47, "AB09"},
    Position{48, "TAB"},  Position{49, "SPCE"},  Position{50, "TLDE"},  Position{51, "BKSP"},
    Position{53, "ESC"},  Position{54, "RWIN"},  Position{55, "LWIN"},  Position{56, "LFSH"},
    Position{57, "CAPS"}, Position{58, "LALT"},  Position{59, "LCTL"},  Position{60, "RTSH"},
    Position{61, "RALT"}, Position{62, "RCTL"},  Position{64, "FK17"},  Position{65, "KPDL"},
    Position{67, "KPMU"}, Position{69, "KPAD"},  Position{71, "NMLK"},  Position{75, "KPDV"},
    Position{76, "KPEN"}, Position{78, "KPSU"},  Position{79, "FK18"},  Position{80, "FK19"},
    Position{81, "KPEQ"}, Position{82, "KP0"},   Position{83, "KP1"},   Position{84, "KP2"},
    Position{85, "KP3"},  Position{86, "KP4"},   Position{87, "KP5"},   Position{88, "KP6"},
    Position{89, "KP7"},  Position{90, "FK20"},  Position{91, "KP8"},   Position{92, "KP9"},
    Position{96, "FK05"}, Position{97, "FK06"},  Position{98, "FK07"},  Position{99, "FK03"},
    Position{100, "FK08"}, Position{101, "FK09"}, Position{103, "FK11"}, Position{105, "FK13"},
    Position{106, "FK16"}, Position{107, "FK14"}, Position{109, "FK10"}, Position{111, "FK12"},
    Position{113, "FK15"}, Position{114, "INS"},  Position{115, "HOME"}, Position{116, "PGUP"},
    Position{117, "DELE"}, Position{118, "FK04"}, Position{119, "END"},  Position{120, "FK02"},
    Position{121, "PGDN"}, Position{122, "FK01"}, Position{123, "LEFT"}, Position{124, "RGHT"},
    Position{125, "DOWN"}, Position{126, "UP"},
};

}  // namespace

std::optional<std::string_view> xkbName(std::uint16_t keyCode) {
    for (const Position& p : positions) {
        if (p.keyCode == keyCode)
            return p.name;
    }
    return std::nullopt;
}

std::optional<std::uint16_t> keyCode(std::string_view xkbName) {
    for (const Position& p : positions) {
        if (p.name == xkbName)
            return p.keyCode;
    }
    return std::nullopt;
}

std::optional<char> usSymbol(std::uint16_t keyCode) {
    static constexpr std::string_view rows[] = {"qwertyuiop", "asdfghjkl", "zxcvbnm"};
    static constexpr std::string_view rowNames[] = {"AD", "AC", "AB"};
    const auto name = xkbName(keyCode);
    if (!name || name->size() != 4 || (*name)[2] < '0' || (*name)[2] > '9' || (*name)[3] < '0' || (*name)[3] > '9')
        return std::nullopt;
    const int column = ((*name)[2] - '0') * 10 + ((*name)[3] - '0') - 1;
    if (column < 0)
        return std::nullopt;
    const std::string_view row = name->substr(0, 2);
    if (row == "AE" && column < 10)
        return "1234567890"[column];
    for (std::size_t i = 0; i < 3; ++i) {
        if (row == rowNames[i] && static_cast<std::size_t>(column) < rows[i].size())
            return rows[i][static_cast<std::size_t>(column)];
    }
    return std::nullopt;
}

}  // namespace Platform::KeyPositions
