#include "history/UntProjectChanges.h"

#include "model/UntStrings.h"
#include "storage/UntRtf.h"
#include "storage/UntUtils.h"

#include <algorithm>

TProjectChange::TProjectChange(TDocument& document, const QString& text) : FDocument(document) {
    setText(text);
}

void TProjectChange::Tell(TChangeScope scope, int guideline) const {
    emit FDocument.Changed({scope, guideline});
}

namespace {

// Steps are named with the user's texts cut short, so that the Edit menu
// keeps a sensible width.
constexpr qsizetype LongestInStep = 50;

QString Shortened(const QString& text, qsizetype longest) {
    return text.size() > longest ? text.left(longest - 1) + QChar(0x2026) : text;
}

// A user's text in a step's name: its ampersands doubled, or the menu would
// take them for mnemonics.
QString StepText(const QString& text) {
    return Shortened(text, LongestInStep).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// The step's name, as the Undo and Redo commands show it.
QString Describe(int id, const QString& first, const QString& second = {}) {
    return FillTemplate(LoadStr(id), StepText(first), StepText(second));
}

bool SameComments(const QStringList& a, const QStringList& b) {
    return a == b || ReadRtf(LinesToStream(a)) == ReadRtf(LinesToStream(b));
}

// The last conclusion, or none.
int LastGuideline(const TProject& project) {
    return static_cast<int>(project.Guidelines.size()) - 1;
}

class TAddFactor final : public TProjectChange {
public:
    TAddFactor(TDocument& document, std::unique_ptr<TTOWSItem> factor)
        : TProjectChange(document, Describe(StrChangeAdd, factor->Name)),
          FFactor(std::move(factor)) {}

    void redo() override {
        Project().Items.push_back(std::move(FFactor));
        Tell(TChangeScope::Factors);
    }

    void undo() override {
        FFactor = std::move(Project().Items.back());
        Project().Items.pop_back();
        Tell(TChangeScope::Factors);
    }

private:
    std::unique_ptr<TTOWSItem> FFactor;
};

// Redo and undo alike swap what the factor holds with the other state.
class TEditFactor final : public TProjectChange {
public:
    TEditFactor(TDocument& document, std::int32_t position, const TTOWSItem& edited)
        : TProjectChange(
              document,
              Describe(StrChangeEdit,
                       document.Project().Items[static_cast<std::size_t>(position)]->Name)),
          FPosition(position), FOther(edited) {}

    void redo() override { Swap(); }
    void undo() override { Swap(); }

private:
    void Swap() {
        TTOWSItem& factor = *Project().Items[static_cast<std::size_t>(FPosition)];
        std::swap(factor.Name, FOther.Name);
        std::swap(factor.Mark, FOther.Mark);
        std::swap(factor.Comments, FOther.Comments);
        Tell(TChangeScope::Factors);
    }

    std::int32_t FPosition;
    TTOWSItem FOther;
};

class TDeleteFactor final : public TProjectChange {
public:
    TDeleteFactor(TDocument& document, std::int32_t position)
        : TProjectChange(
              document,
              Describe(StrChangeDelete,
                       document.Project().Items[static_cast<std::size_t>(position)]->Name)),
          FPosition(position) {}

    void redo() override {
        FDeletion = Project().DeleteItem(FPosition);
        Tell(TChangeScope::Factors);
    }

    void undo() override {
        Project().RestoreItem(std::move(FDeletion));
        Tell(TChangeScope::Factors);
    }

private:
    std::int32_t FPosition;
    TItemDeletion FDeletion;
};

class TAddGuideline final : public TProjectChange {
public:
    TAddGuideline(TDocument& document, std::unique_ptr<TGuideline> guideline)
        : TProjectChange(document, Describe(StrChangeAdd, guideline->Name)),
          FGuideline(std::move(guideline)) {}

    void redo() override {
        Project().Guidelines.push_back(std::move(FGuideline));
        Tell(TChangeScope::Conclusions, LastGuideline(Project()));
    }

    void undo() override {
        FGuideline = std::move(Project().Guidelines.back());
        Project().Guidelines.pop_back();
        Tell(TChangeScope::Conclusions, LastGuideline(Project()));
    }

private:
    std::unique_ptr<TGuideline> FGuideline;
};

class TEditGuideline final : public TProjectChange {
public:
    TEditGuideline(TDocument& document, int position, const TGuideline& edited)
        : TProjectChange(
              document,
              Describe(StrChangeEdit,
                       document.Project().Guidelines[static_cast<std::size_t>(position)]->Name)),
          FPosition(position), FOther(edited) {}

    void redo() override { Swap(); }
    void undo() override { Swap(); }

private:
    void Swap() {
        TGuideline& guideline = *Project().Guidelines[static_cast<std::size_t>(FPosition)];
        std::swap(guideline.Name, FOther.Name);
        std::swap(guideline.Comments, FOther.Comments);
        Tell(TChangeScope::Conclusions, FPosition);
    }

    int FPosition;
    TGuideline FOther;
};

class TDeleteGuideline final : public TProjectChange {
public:
    TDeleteGuideline(TDocument& document, int position)
        : TProjectChange(
              document,
              Describe(StrChangeDelete,
                       document.Project().Guidelines[static_cast<std::size_t>(position)]->Name)),
          FPosition(position) {}

    void redo() override {
        const auto at = Project().Guidelines.begin() + FPosition;
        FGuideline = std::move(*at);
        Project().Guidelines.erase(at);
        // The conclusion before takes the place in the list.
        Tell(TChangeScope::Conclusions,
             std::min(std::max(FPosition - 1, 0), LastGuideline(Project())));
    }

    void undo() override {
        Project().Guidelines.insert(Project().Guidelines.begin() + FPosition,
                                    std::move(FGuideline));
        Tell(TChangeScope::Conclusions, FPosition);
    }

private:
    int FPosition;
    std::unique_ptr<TGuideline> FGuideline;
};

class TMoveGuideline final : public TProjectChange {
public:
    TMoveGuideline(TDocument& document, int from, int to)
        : TProjectChange(
              document,
              Describe(StrChangeMove,
                       document.Project().Guidelines[static_cast<std::size_t>(from)]->Name)),
          FFrom(from), FTo(to) {}

    void redo() override {
        std::swap(Project().Guidelines[static_cast<std::size_t>(FFrom)],
                  Project().Guidelines[static_cast<std::size_t>(FTo)]);
        Tell(TChangeScope::Conclusions, FTo);
    }

    void undo() override {
        std::swap(Project().Guidelines[static_cast<std::size_t>(FFrom)],
                  Project().Guidelines[static_cast<std::size_t>(FTo)]);
        Tell(TChangeScope::Conclusions, FFrom);
    }

private:
    int FFrom;
    int FTo;
};

// A link adds a record at the end; an unlink removes the first record of the
// coupling and gives it back at its place.
class TLink final : public TProjectChange {
public:
    TLink(TDocument& document, int guideline, TTOWSCouple couple, bool link, const QString& text)
        : TProjectChange(document, text), FGuideline(guideline), FCouple(couple), FLink(link) {}

    void redo() override {
        std::vector<TTOWSCouple>& couples = Couples();
        if (FLink) {
            couples.push_back(FCouple);
        } else {
            const auto found = std::ranges::find(couples, FCouple);
            FPlace = found - couples.begin();
            couples.erase(found);
        }
        Tell(TChangeScope::Links, FGuideline);
    }

    void undo() override {
        std::vector<TTOWSCouple>& couples = Couples();
        if (FLink)
            couples.pop_back();
        else
            couples.insert(couples.begin() + FPlace, FCouple);
        Tell(TChangeScope::Links, FGuideline);
    }

private:
    std::vector<TTOWSCouple>& Couples() const {
        return Project().Guidelines[static_cast<std::size_t>(FGuideline)]->Couples;
    }

    int FGuideline;
    TTOWSCouple FCouple;
    bool FLink;
    std::ptrdiff_t FPlace = 0;
};

class TChangeProperties final : public TProjectChange {
public:
    TChangeProperties(TDocument& document, TProjectProperties properties)
        : TProjectChange(document, LoadStr(StrChangeProperties)), FOther(std::move(properties)) {}

    void redo() override { Swap(); }
    void undo() override { Swap(); }

private:
    void Swap() {
        std::swap(Project().Title, FOther.Title);
        std::swap(Project().Comments, FOther.Comments);
        std::swap(Project().Labels, FOther.Labels);
        Tell(TChangeScope::Properties);
    }

    TProjectProperties FOther;
};

} // namespace

std::unique_ptr<QUndoCommand> AddFactorChange(TDocument& document,
                                              std::unique_ptr<TTOWSItem> factor) {
    return std::make_unique<TAddFactor>(document, std::move(factor));
}

std::unique_ptr<QUndoCommand> EditFactorChange(TDocument& document, std::int32_t position,
                                               const TTOWSItem& edited) {
    const TProject& project = document.Project();
    const TTOWSItem& factor = *project.Items[static_cast<std::size_t>(position)];
    if (factor.Name == edited.Name && factor.Mark == edited.Mark &&
        SameComments(factor.Comments, edited.Comments))
        return nullptr;
    return std::make_unique<TEditFactor>(document, position, edited);
}

std::unique_ptr<QUndoCommand> DeleteFactorChange(TDocument& document, std::int32_t position) {
    return std::make_unique<TDeleteFactor>(document, position);
}

std::unique_ptr<QUndoCommand> AddGuidelineChange(TDocument& document,
                                                 std::unique_ptr<TGuideline> guideline) {
    return std::make_unique<TAddGuideline>(document, std::move(guideline));
}

std::unique_ptr<QUndoCommand> EditGuidelineChange(TDocument& document, int position,
                                                  const TGuideline& edited) {
    const TProject& project = document.Project();
    const TGuideline& guideline = *project.Guidelines[static_cast<std::size_t>(position)];
    if (guideline.Name == edited.Name && SameComments(guideline.Comments, edited.Comments))
        return nullptr;
    return std::make_unique<TEditGuideline>(document, position, edited);
}

std::unique_ptr<QUndoCommand> DeleteGuidelineChange(TDocument& document, int position) {
    return std::make_unique<TDeleteGuideline>(document, position);
}

std::unique_ptr<QUndoCommand> MoveGuidelineChange(TDocument& document, int from, int to) {
    return std::make_unique<TMoveGuideline>(document, from, to);
}

std::unique_ptr<QUndoCommand> LinkChange(TDocument& document, int guideline, TTOWSCouple couple,
                                         bool link) {
    const TProject& project = document.Project();
    const TGuideline& conclusion = *project.Guidelines[static_cast<std::size_t>(guideline)];
    if (!link && !conclusion.HasCouple(couple.Index1, couple.Index2))
        return nullptr;
    const QString coupling =
        project.IsValidPosition(couple.Index1) && project.IsValidPosition(couple.Index2)
            // Both names keep a part, and the whole fits a step's name.
            ? Shortened(project.Items[static_cast<std::size_t>(couple.Index1)]->Name,
                        (LongestInStep - 3) / 2) +
                  QStringLiteral(" / ") +
                  Shortened(project.Items[static_cast<std::size_t>(couple.Index2)]->Name,
                            (LongestInStep - 3) / 2)
            : QString();
    return std::make_unique<TLink>(
        document, guideline, couple, link,
        Describe(link ? StrChangeLink : StrChangeUnlink, coupling, conclusion.Name));
}

std::unique_ptr<QUndoCommand> PropertiesChange(TDocument& document, TProjectProperties properties) {
    const TProject& project = document.Project();
    bool same =
        project.Title == properties.Title && SameComments(project.Comments, properties.Comments);
    for (int number = 1; number <= TLabels::Count && same; ++number)
        same = project.Labels.Value(number) == properties.Labels.Value(number);
    if (same)
        return nullptr;
    return std::make_unique<TChangeProperties>(document, std::move(properties));
}
