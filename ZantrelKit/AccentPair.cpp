#include "ZantrelKit/AccentPair.h"

namespace ZantrelKit {

const AccentPair AccentPair::glyphnab{
    QStringLiteral("glyphnab"), {0xFFA3C7, 0xF2669F, 0xFF94BD}, {0xC2255F, 0xA61C50, 0xA61C50}};

const AccentPair AccentPair::fallback{
    QStringLiteral("neutral"), {0xFFFFFF, 0xD6D1EE, 0xECE9FA}, {0x34304F, 0x242138, 0x2B2840}};

// The other apps of the family; their colours are ours to choose.
const std::array<AccentPair, 12> AccentPair::all{{
    {QStringLiteral("pagewise"), {0xB7A8FF, 0x8C76F5, 0xB3A4FF}, {0x5B45D6, 0x4732B8, 0x4732B8}},
    {QStringLiteral("folio"), {0x8FD8FF, 0x4FA9F2, 0x86CFFF}, {0x1F6FC2, 0x175AA3, 0x175AA3}},
    {QStringLiteral("tidy"), {0x9CF0C4, 0x4FCB8C, 0x8EE8B9}, {0x1E8A55, 0x177046, 0x177046}},
    glyphnab,
    {QStringLiteral("stamp"), {0xFFD28F, 0xF5A442, 0xFFCB80}, {0xB8660F, 0x99540B, 0x99540B}},
    {QStringLiteral("sift"), {0xFFB199, 0xF2795A, 0xFFA78D}, {0xC2452A, 0xA33720, 0xA33720}},
    {QStringLiteral("ledger"), {0xA8E6E0, 0x5CC2B8, 0x9BDFD8}, {0x1D7D74, 0x16665F, 0x16665F}},
    {QStringLiteral("shutter"), {0xD9B3FF, 0xB07AF0, 0xD2A8FF}, {0x7B3AC4, 0x6530A6, 0x6530A6}},
    {QStringLiteral("blot"), {0xFF9CB0, 0xE8607C, 0xFF92A8}, {0xB82E4A, 0x9C253D, 0x9C253D}},
    {QStringLiteral("margin"), {0xC9E68F, 0x97C44F, 0xC0DF82}, {0x56801C, 0x466A16, 0x466A16}},
    {QStringLiteral("quire"), {0xF0C8A8, 0xD9996A, 0xEBBF9A}, {0x8F5A2E, 0x764924, 0x764924}},
    {QStringLiteral("sorter"), {0xA8C4FF, 0x6E93F0, 0x9EBBFF}, {0x2F55C2, 0x2545A3, 0x2545A3}},
}};

const AccentPair& AccentPair::named(const QString& name) {
    for (const AccentPair& pair : all) {
        if (pair.name == name)
            return pair;
    }
    return fallback;
}

}  // namespace ZantrelKit
