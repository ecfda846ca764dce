#include "ProjectBuilder.h"
#include "history/UntDocument.h"
#include "history/UntProjectChanges.h"
#include "storage/UntIO.h"
#include "storage/UntRtf.h"

#include <gtest/gtest.h>
#include <random>

namespace {

// Makes random changes to a document, each one a user could make: the
// positions and couplings it names are valid for the state it is made on.
class TRandomEditor {
public:
    TRandomEditor(TDocument& document, std::uint32_t seed) : FDocument(document), FRandom(seed) {}

    // One change, applied; false when the one drawn changes nothing.
    bool Change() {
        const int count = FDocument.count();
        switch (Below(10)) {
        case 0:
            AddFactor();
            break;
        case 1:
            EditFactor();
            break;
        case 2:
            DeleteFactor();
            break;
        case 3:
            AddGuideline();
            break;
        case 4:
            EditGuideline();
            break;
        case 5:
            if (const int n = Guidelines(); n > 0)
                FDocument.Apply(DeleteGuidelineChange(FDocument, Below(n)));
            break;
        case 6:
            if (const int n = Guidelines(); n > 1) {
                const int from = Below(n - 1);
                FDocument.Apply(MoveGuidelineChange(FDocument, from, from + 1));
            }
            break;
        case 7:
        case 8:
            Link();
            break;
        default:
            ChangeProperties();
            break;
        }
        return FDocument.count() > count;
    }

private:
    int Below(int bound) { return static_cast<int>(FRandom() % static_cast<std::uint32_t>(bound)); }
    int Factors() const { return static_cast<int>(FDocument.Project().Items.size()); }
    int Guidelines() const { return static_cast<int>(FDocument.Project().Guidelines.size()); }

    QString Text() { return QStringLiteral("t%1").arg(Below(6)); }
    QStringList Comments() {
        return Below(2) ? QStringList() : WriteRtf({{{Text(), Below(2) == 1, Below(2) == 1}}});
    }

    // A coupling of the project: an internal factor with an external one;
    // none when the project lacks either.
    std::optional<TTOWSCouple> Coupling() {
        std::vector<std::int32_t> internal;
        std::vector<std::int32_t> external;
        for (std::int32_t i = 0; i < Factors(); ++i)
            (FDocument.Project().Items[static_cast<std::size_t>(i)]->SwotType <= stWeakness
                 ? internal
                 : external)
                .push_back(i);
        if (internal.empty() || external.empty())
            return std::nullopt;
        return TTOWSCouple{
            internal[static_cast<std::size_t>(Below(static_cast<int>(internal.size())))],
            external[static_cast<std::size_t>(Below(static_cast<int>(external.size())))]};
    }

    void AddFactor() {
        auto factor = std::make_unique<TTOWSItem>();
        factor->SwotType = 1 + Below(4);
        factor->Mark = 1 + Below(3);
        factor->Name = Text();
        factor->Comments = Comments();
        FDocument.Apply(AddFactorChange(FDocument, std::move(factor)));
    }

    void EditFactor() {
        if (Factors() == 0)
            return;
        const int position = Below(Factors());
        TTOWSItem edited = *FDocument.Project().Items[static_cast<std::size_t>(position)];
        edited.Name = Text();
        edited.Mark = 1 + Below(3);
        edited.Comments = Comments();
        FDocument.Apply(EditFactorChange(FDocument, position, edited));
    }

    void DeleteFactor() {
        if (Factors() > 0)
            FDocument.Apply(DeleteFactorChange(FDocument, Below(Factors())));
    }

    void AddGuideline() {
        auto guideline = std::make_unique<TGuideline>();
        guideline->Name = Text();
        guideline->Comments = Comments();
        for (int i = Below(3); i > 0; --i)
            if (const auto couple = Coupling())
                guideline->Couples.push_back(*couple);
        FDocument.Apply(AddGuidelineChange(FDocument, std::move(guideline)));
    }

    void EditGuideline() {
        if (Guidelines() == 0)
            return;
        const int position = Below(Guidelines());
        TGuideline edited = *FDocument.Project().Guidelines[static_cast<std::size_t>(position)];
        edited.Name = Text();
        edited.Comments = Comments();
        FDocument.Apply(EditGuidelineChange(FDocument, position, edited));
    }

    // Links a coupling, held already or not, or unlinks one the conclusion holds.
    void Link() {
        if (Guidelines() == 0)
            return;
        const int position = Below(Guidelines());
        const TGuideline& guideline =
            *FDocument.Project().Guidelines[static_cast<std::size_t>(position)];
        if (!guideline.Couples.empty() && Below(2) == 0) {
            const TTOWSCouple held = guideline.Couples[static_cast<std::size_t>(
                Below(static_cast<int>(guideline.Couples.size())))];
            FDocument.Apply(LinkChange(FDocument, position, held, false));
        } else if (const auto couple = Coupling()) {
            FDocument.Apply(LinkChange(FDocument, position, *couple, true));
        }
    }

    void ChangeProperties() {
        const TProject& project = FDocument.Project();
        TProjectProperties properties{project.Title, project.Comments, project.Labels};
        switch (Below(3)) {
        case 0:
            properties.Title = Text();
            break;
        case 1:
            properties.Comments = Comments();
            break;
        default:
            properties.Labels.SetValue(1 + Below(TLabels::Count), Text());
            break;
        }
        FDocument.Apply(PropertiesChange(FDocument, std::move(properties)));
    }

    TDocument& FDocument;
    std::mt19937 FRandom;
};

} // namespace

// Random sequences of changes, undone to every level and redone to the last:
// each level gives back the very file the project made there, each step tells
// once what it touched, and the project is modified exactly away from the
// level saved.
TEST(History, RandomChangesUndoAndRedoToTheByte) {
    for (std::uint32_t sequence = 0; sequence < 300; ++sequence) {
        SCOPED_TRACE(sequence);
        TDocument document(MixedProject({{"A", {{0, 1}, {0, 1}}}, {"B", {{4, 3}}}}));
        int told = 0;
        QObject::connect(&document, &TDocument::Changed, [&told] { ++told; });
        TRandomEditor editor(document, sequence);
        std::vector<QByteArray> levels{ProjectContent(document.Project())};
        while (levels.size() < 1 + sequence % 15)
            if (editor.Change())
                levels.push_back(ProjectContent(document.Project()));
        const int steps = static_cast<int>(levels.size()) - 1;
        ASSERT_EQ(told, steps);

        for (int level = steps; level > 0; --level) {
            ASSERT_EQ(ProjectContent(document.Project()), levels[level]) << "undone to " << level;
            document.undo();
        }
        ASSERT_EQ(ProjectContent(document.Project()), levels[0]);
        EXPECT_FALSE(document.Modified()) << "back where it was opened";

        const int saved = static_cast<int>(sequence) % (steps + 1);
        for (int level = 1; level <= steps; ++level) {
            document.redo();
            ASSERT_EQ(ProjectContent(document.Project()), levels[level]) << "redone to " << level;
            if (level == saved)
                document.MarkSaved();
        }
        EXPECT_EQ(told, 3 * steps);
        for (int level = steps; level >= 0; --level) {
            EXPECT_EQ(document.Modified(), level != saved) << "at " << level;
            if (level > 0)
                document.undo();
        }
    }
}
