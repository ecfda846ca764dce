#include "UntClassBasics.h"

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
    return 2500 + swotType;
}

int KindNameId(TCouplingKind kind) {
    switch (kind) {
    case TCouplingKind::ckPieceOfLuck:
        return 2509;
    case TCouplingKind::ckConflict:
        return 2510;
    case TCouplingKind::ckChallenge:
        return 2511;
    case TCouplingKind::ckDanger:
        return 2512;
    }
    return 2509;
}
