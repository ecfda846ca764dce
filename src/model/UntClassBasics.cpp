#include "model/UntClassBasics.h"

#include "model/UntStringIds.h"

std::optional<TCouplingKind> GetCouplingKind(std::int32_t internalType, std::int32_t externalType) {
    if (!IsInternalType(internalType) || !IsExternalType(externalType))
        return std::nullopt;
    return static_cast<TCouplingKind>(2 * (externalType - stOpportunity) + internalType);
}

bool IsInternalType(std::int32_t swotType) {
    return swotType == stStrength || swotType == stWeakness;
}

bool IsExternalType(std::int32_t swotType) {
    return swotType == stOpportunity || swotType == stThreat;
}

std::int32_t InternalTypeOf(TCouplingKind kind) {
    return (static_cast<int>(kind) - 1) % 2 + stStrength;
}

std::int32_t ExternalTypeOf(TCouplingKind kind) {
    return (static_cast<int>(kind) - 1) / 2 + stOpportunity;
}

QString HeadingKey(int number) {
    return QStringLiteral("Label") + QString::number(number);
}

int TypeHeading(std::int32_t swotType) {
    return hdStrengths + swotType - stStrength;
}

int KindHeading(TCouplingKind kind) {
    return hdPiecesOfLuck + static_cast<int>(kind) - 1;
}

int MarkHeading(std::int32_t mark) {
    return hdLowImportance + mark - mkLow;
}

int TypeNameId(std::int32_t swotType) {
    return StrTypeNameBase + swotType;
}

int KindNameId(TCouplingKind kind) {
    switch (kind) {
    case TCouplingKind::ckPieceOfLuck:
        return StrPieceOfLuck;
    case TCouplingKind::ckConflict:
        return StrConflict;
    case TCouplingKind::ckChallenge:
        return StrChallenge;
    case TCouplingKind::ckDanger:
        return StrDanger;
    }
    return StrPieceOfLuck;
}
