#pragma once

#include "history/UntProjectChanges.h"

// Gives the document's project a new title through its history, as the
// properties dialog does: the project becomes modified.
inline void Retitle(TDocument& document, const QString& title) {
    const TProject& project = document.Project();
    document.Apply(PropertiesChange(document, {title, project.Comments, project.Labels}));
}

// Gives the factor at the position a new name through the history.
inline void Rename(TDocument& document, std::int32_t position, const QString& name) {
    TTOWSItem factor = *document.Project().Items[static_cast<std::size_t>(position)];
    factor.Name = name;
    document.Apply(EditFactorChange(document, position, factor));
}
