#pragma once

#include "model/UntClassProject.h"
#include "storage/UntDataModule.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <optional>

// What the reader makes of the fuzzer's bytes; nothing when it refused them
// with a message. A refusal without one is a fault.
template <typename TRead>
auto ReadOrRefuse(const std::uint8_t* data, std::size_t size, TRead read)
    -> std::optional<decltype(read(QByteArray()))> {
    try {
        return read(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    } catch (const EStorageError& error) {
        if (error.Message().isEmpty())
            __builtin_trap();
        return std::nullopt;
    }
}

// Every coupling record of the project names a factor of it.
inline void CheckRecords(const TProject& project) {
    for (const auto& guideline : project.Guidelines)
        for (const TTOWSCouple& couple : guideline->Couples)
            if (!project.IsValidPosition(couple.Index1) || !project.IsValidPosition(couple.Index2))
                __builtin_trap();
}
