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

// Numbers of the nineteen headings of a project, its entries "Label1" ..
// "Label19".
enum THeading : int {
    hdSituationAnalysis = 1,
    hdInternalFactors = 2,
    hdExternalFactors = 3,
    hdStrengths = 4, // .. hdThreats: by factor type
    hdWeaknesses = 5,
    hdOpportunities = 6,
    hdThreats = 7,
    hdConclusions = 8,
    hdWeight = 9,
    hdConclusionsByCoupling = 10,
    hdCouplingsByConclusion = 11,
    hdPiecesOfLuck = 12, // .. hdDangers: by coupling kind
    hdChallenges = 13,
    hdConflicts = 14,
    hdDangers = 15,
    hdResultingConclusions = 16,
    hdLowImportance = 17, // .. hdHighImportance: by mark
    hdMediumImportance = 18,
    hdHighImportance = 19,
};

// The name of a heading's entry: "Label" followed by the number.
QString HeadingKey(int number);
// The heading of the list of a factor type, of a kind of coupling, and the
// words for an importance mark in the text report.
int TypeHeading(std::int32_t swotType);
int KindHeading(TCouplingKind kind);
int MarkHeading(std::int32_t mark);

// String ids of the singular names of a factor type and of a kind.
int TypeNameId(std::int32_t swotType);
int KindNameId(TCouplingKind kind);
