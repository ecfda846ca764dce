#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// Factor type codes (TTOWSItem::SwotType).
enum : std::int32_t {
    stStrength = 1,
    stWeakness = 2,
    stOpportunity = 3,
    stThreat = 4,
};

// Importance marks (TTOWSItem::Mark).
enum : std::int32_t {
    mkLow = 1,
    mkMedium = 2,
    mkHigh = 3,
};

// The common part of a factor and a conclusion.
class TItem {
public:
    QString Name;
    // Rich-text comments, one RTF line per entry; empty means no comments.
    QStringList Comments;
};

// One coupling, named by the positions in TProject::Items of its internal
// factor (Index1) and its external factor (Index2).
class TTOWSCouple {
public:
    std::int32_t Index1 = -1;
    std::int32_t Index2 = -1;

    friend bool operator==(const TTOWSCouple&, const TTOWSCouple&) = default;
};

// The four kinds of coupling, in the order in which they are always listed.
enum class TCouplingKind : int {
    ckPieceOfLuck = 1, // strength x opportunity
    ckChallenge = 2,   // weakness x opportunity
    ckConflict = 3,    // strength x threat
    ckDanger = 4,      // weakness x threat
};

inline constexpr TCouplingKind AllCouplingKinds[] = {
    TCouplingKind::ckPieceOfLuck, TCouplingKind::ckChallenge, TCouplingKind::ckConflict,
    TCouplingKind::ckDanger};

// The kind of the pair (internal type, external type); none for any other
// pair of types, the reversed orientation included.
std::optional<TCouplingKind> GetCouplingKind(std::int32_t internalType, std::int32_t externalType);

bool IsInternalType(std::int32_t swotType);
bool IsExternalType(std::int32_t swotType);

// The factor types whose pairing makes the kind.
std::int32_t InternalTypeOf(TCouplingKind kind);
std::int32_t ExternalTypeOf(TCouplingKind kind);

// Heading keys of the project's Labels: "Label" followed by the number.
QString HeadingKey(int number);
// "Label4" .. "Label7": the heading of the list of a factor type.
QString TypeHeadingKey(std::int32_t swotType);
// "Label12" .. "Label15": the heading of a kind of coupling.
QString KindHeadingKey(TCouplingKind kind);
// "Label17" .. "Label19": the words for an importance mark in the text report.
QString MarkHeadingKey(std::int32_t mark);

// String ids of the singular names of a factor type and of a kind.
int TypeNameId(std::int32_t swotType);
int KindNameId(TCouplingKind kind);
