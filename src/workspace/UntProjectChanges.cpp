#include "UntProjectChanges.h"

#include "UntMainHost.h"
#include "UntRtf.h"
#include "UntStrings.h"
#include "UntUtils.h"

#include <algorithm>

namespace {

class TProjectChange : public QUndoCommand {
protected:
    TProjectChange(TMainHost& host, TProject& project, const QString& text)
        : FHost(host), FProject(project) {
        setText(text);
    }

    void Show(TChangeScope scope, int guideline = -1) const {
        FHost.ProjectChanged({scope, guideline});
    }

    TMainHost& FHost;
    TProject& FProject;
};

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
    TAddFactor(TMainHost& host, TProject& project, std::unique_ptr<TTOWSItem> factor)
        : TProjectChange(host, project, Describe(StrChangeAdd, factor->Name)),
          FFactor(std::move(factor)) {}

    void redo() override {
        FProject.Items.push_back(std::move(FFactor));
        Show(TChangeScope::Factors);
    }

    void undo() override {
        FFactor = std::move(FProject.Items.back());
        FProject.Items.pop_back();
        Show(TChangeScope::Factors);
    }

private:
    std::unique_ptr<TTOWSItem> FFactor;
};

// Redo and undo alike swap what the factor holds with the other state.
class TEditFactor final : public TProjectChange {
public:
    TEditFactor(TMainHost& host, TProject& project, std::int32_t position, const TTOWSItem& edited)
        : TProjectChange(
              host, project,
              Describe(StrChangeEdit, project.Items[static_cast<std::size_t>(position)]->Name)),
          FPosition(position), FOther(edited) {}

    void redo() override { Swap(); }
    void undo() override { Swap(); }

private:
    void Swap() {
        TTOWSItem& factor = *FProject.Items[static_cast<std::size_t>(FPosition)];
        std::swap(factor.Name, FOther.Name);
        std::swap(factor.Mark, FOther.Mark);
        std::swap(factor.Comments, FOther.Comments);
        Show(TChangeScope::Factors);
    }

    std::int32_t FPosition;
    TTOWSItem FOther;
};

class TDeleteFactor final : public TProjectChange {
public:
    TDeleteFactor(TMainHost& host, TProject& project, std::int32_t position)
        : TProjectChange(
              host, project,
              Describe(StrChangeDelete, project.Items[static_cast<std::size_t>(position)]->Name)),
          FPosition(position) {}

    void redo() override {
        FDeletion = FProject.DeleteItem(FPosition);
        Show(TChangeScope::Factors);
    }

    void undo() override {
        FProject.RestoreItem(std::move(FDeletion));
        Show(TChangeScope::Factors);
    }

private:
    std::int32_t FPosition;
    TItemDeletion FDeletion;
};

class TAddGuideline final : public TProjectChange {
public:
    TAddGuideline(TMainHost& host, TProject& project, std::unique_ptr<TGuideline> guideline)
        : TProjectChange(host, project, Describe(StrChangeAdd, guideline->Name)),
          FGuideline(std::move(guideline)) {}

    void redo() override {
        FProject.Guidelines.push_back(std::move(FGuideline));
        Show(TChangeScope::Conclusions, LastGuideline(FProject));
    }

    void undo() override {
        FGuideline = std::move(FProject.Guidelines.back());
        FProject.Guidelines.pop_back();
        Show(TChangeScope::Conclusions, LastGuideline(FProject));
    }

private:
    std::unique_ptr<TGuideline> FGuideline;
};

class TEditGuideline final : public TProjectChange {
public:
    TEditGuideline(TMainHost& host, TProject& project, int position, const TGuideline& edited)
        : TProjectChange(host, project,
                         Describe(StrChangeEdit,
                                  project.Guidelines[static_cast<std::size_t>(position)]->Name)),
          FPosition(position), FOther(edited) {}

    void redo() override { Swap(); }
    void undo() override { Swap(); }

private:
    void Swap() {
        TGuideline& guideline = *FProject.Guidelines[static_cast<std::size_t>(FPosition)];
        std::swap(guideline.Name, FOther.Name);
        std::swap(guideline.Comments, FOther.Comments);
        Show(TChangeScope::Conclusions, FPosition);
    }

    int FPosition;
    TGuideline FOther;
};

class TDeleteGuideline final : public TProjectChange {
public:
    TDeleteGuideline(TMainHost& host, TProject& project, int position)
        : TProjectChange(host, project,
                         Describe(StrChangeDelete,
                                  project.Guidelines[static_cast<std::size_t>(position)]->Name)),
          FPosition(position) {}

    void redo() override {
        const auto at = FProject.Guidelines.begin() + FPosition;
        FGuideline = std::move(*at);
        FProject.Guidelines.erase(at);
        // The conclusion before takes the place in the list.
        Show(TChangeScope::Conclusions,
             std::min(std::max(FPosition - 1, 0), LastGuideline(FProject)));
    }

    void undo() override {
        FProject.Guidelines.insert(FProject.Guidelines.begin() + FPosition, std::move(FGuideline));
        Show(TChangeScope::Conclusions, FPosition);
    }

private:
    int FPosition;
    std::unique_ptr<TGuideline> FGuideline;
};

class TMoveGuideline final : public TProjectChange {
public:
    TMoveGuideline(TMainHost& host, TProject& project, int from, int to)
        : TProjectChange(
              host, project,
              Describe(StrChangeMove, project.Guidelines[static_cast<std::size_t>(from)]->Name)),
          FFrom(from), FTo(to) {}

    void redo() override {
        std::swap(FProject.Guidelines[static_cast<std::size_t>(FFrom)],
                  FProject.Guidelines[static_cast<std::size_t>(FTo)]);
        Show(TChangeScope::Conclusions, FTo);
    }

    void undo() override {
        std::swap(FProject.Guidelines[static_cast<std::size_t>(FFrom)],
                  FProject.Guidelines[static_cast<std::size_t>(FTo)]);
        Show(TChangeScope::Conclusions, FFrom);
    }

private:
    int FFrom;
    int FTo;
};

// A link adds a record at the end; an unlink removes the first record of the
// coupling and gives it back at its place.
class TLink final : public TProjectChange {
public:
    TLink(TMainHost& host, TProject& project, int guideline, TTOWSCouple couple, bool link,
          const QString& text)
        : TProjectChange(host, project, text), FGuideline(guideline), FCouple(couple), FLink(link) {
    }

    void redo() override {
        std::vector<TTOWSCouple>& couples = Couples();
        if (FLink) {
            couples.push_back(FCouple);
        } else {
            const auto found = std::ranges::find(couples, FCouple);
            FPlace = found - couples.begin();
            couples.erase(found);
        }
        Show(TChangeScope::Links, FGuideline);
    }

    void undo() override {
        std::vector<TTOWSCouple>& couples = Couples();
        if (FLink)
            couples.pop_back();
        else
            couples.insert(couples.begin() + FPlace, FCouple);
        Show(TChangeScope::Links, FGuideline);
    }

private:
    std::vector<TTOWSCouple>& Couples() const {
        return FProject.Guidelines[static_cast<std::size_t>(FGuideline)]->Couples;
    }

    int FGuideline;
    TTOWSCouple FCouple;
    bool FLink;
    std::ptrdiff_t FPlace = 0;
};

class TChangeProperties final : public TProjectChange {
public:
    TChangeProperties(TMainHost& host, TProject& project, TProjectProperties properties)
        : TProjectChange(host, project, LoadStr(StrChangeProperties)),
          FOther(std::move(properties)) {}

    void redo() override { Swap(); }
    void undo() override { Swap(); }

private:
    void Swap() {
        std::swap(FProject.Title, FOther.Title);
        std::swap(FProject.Comments, FOther.Comments);
        std::swap(FProject.Labels, FOther.Labels);
        Show(TChangeScope::Properties);
    }

    TProjectProperties FOther;
};

} // namespace

std::unique_ptr<QUndoCommand> AddFactorChange(TMainHost& host, TProject& project,
                                              std::unique_ptr<TTOWSItem> factor) {
    return std::make_unique<TAddFactor>(host, project, std::move(factor));
}

std::unique_ptr<QUndoCommand> EditFactorChange(TMainHost& host, TProject& project,
                                               std::int32_t position, const TTOWSItem& edited) {
    const TTOWSItem& factor = *project.Items[static_cast<std::size_t>(position)];
    if (factor.Name == edited.Name && factor.Mark == edited.Mark &&
        SameComments(factor.Comments, edited.Comments))
        return nullptr;
    return std::make_unique<TEditFactor>(host, project, position, edited);
}

std::unique_ptr<QUndoCommand> DeleteFactorChange(TMainHost& host, TProject& project,
                                                 std::int32_t position) {
    return std::make_unique<TDeleteFactor>(host, project, position);
}

std::unique_ptr<QUndoCommand> AddGuidelineChange(TMainHost& host, TProject& project,
                                                 std::unique_ptr<TGuideline> guideline) {
    return std::make_unique<TAddGuideline>(host, project, std::move(guideline));
}

std::unique_ptr<QUndoCommand> EditGuidelineChange(TMainHost& host, TProject& project, int position,
                                                  const TGuideline& edited) {
    const TGuideline& guideline = *project.Guidelines[static_cast<std::size_t>(position)];
    if (guideline.Name == edited.Name && SameComments(guideline.Comments, edited.Comments))
        return nullptr;
    return std::make_unique<TEditGuideline>(host, project, position, edited);
}

std::unique_ptr<QUndoCommand> DeleteGuidelineChange(TMainHost& host, TProject& project,
                                                    int position) {
    return std::make_unique<TDeleteGuideline>(host, project, position);
}

std::unique_ptr<QUndoCommand> MoveGuidelineChange(TMainHost& host, TProject& project, int from,
                                                  int to) {
    return std::make_unique<TMoveGuideline>(host, project, from, to);
}

std::unique_ptr<QUndoCommand> LinkChange(TMainHost& host, TProject& project, int guideline,
                                         TTOWSCouple couple, bool link) {
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
        host, project, guideline, couple, link,
        Describe(link ? StrChangeLink : StrChangeUnlink, coupling, conclusion.Name));
}

std::unique_ptr<QUndoCommand> PropertiesChange(TMainHost& host, TProject& project,
                                               TProjectProperties properties) {
    bool same =
        project.Title == properties.Title && SameComments(project.Comments, properties.Comments);
    for (int number = 1; number <= TLabels::Count && same; ++number)
        same = project.Labels.Value(number) == properties.Labels.Value(number);
    if (same)
        return nullptr;
    return std::make_unique<TChangeProperties>(host, project, std::move(properties));
}
