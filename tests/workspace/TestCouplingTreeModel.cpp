#include "ProjectBuilder.h"
#include "workspace/UntCouplingTreeModel.h"

#include <QAbstractItemModelTester>
#include <QLoggingCategory>
#include <gtest/gtest.h>
#include <optional>

namespace {

// What Qt's model tester says about a model while this lives; in its Warning
// mode it logs each fault under "qt.modeltest".
class TModelFaults {
public:
    TModelFaults() {
        Faults().clear();
        FPrevious = qInstallMessageHandler(&TModelFaults::Handle);
    }
    ~TModelFaults() { qInstallMessageHandler(FPrevious); }

    static QStringList& Faults() {
        static QStringList faults;
        return faults;
    }

private:
    static void Handle(QtMsgType, const QMessageLogContext& context, const QString& message) {
        if (context.category && QLatin1String(context.category) == "qt.modeltest")
            Faults() << message;
    }

    QtMessageHandler FPrevious;
};

// Every coupling of the kind rated at least the minimum, counted the slow way.
std::int64_t CouplingsOfKind(const TProject& project, TCouplingKind kind, std::int64_t minRating) {
    std::int64_t count = 0;
    for (std::size_t i = 0; i < project.Items.size(); ++i)
        for (std::size_t e = 0; e < project.Items.size(); ++e)
            if (GetCouplingKind(project.Items[i]->SwotType, project.Items[e]->SwotType) == kind &&
                GetCouplingRating(project, static_cast<std::int32_t>(i),
                                  static_cast<std::int32_t>(e)) >= minRating)
                ++count;
    return count;
}

// A project with every kind, a mark out of the scale and a factor without a type.
std::unique_ptr<TProject> WideProject() {
    return MakeProject({{"S1", stStrength, 3},
                        {"S2", stStrength, 1},
                        {"W1", stWeakness, 2},
                        {"O1", stOpportunity, 3},
                        {"O2", stOpportunity, 2},
                        {"T1", stThreat, 3},
                        {"T2", stThreat, 1},
                        {"Odd", stStrength, 7},
                        {"None", 0, 2}});
}

} // namespace

// The tree stays a consistent model through every rebuild, and each rebuild
// holds exactly the couplings its filter and threshold admit.
TEST(CouplingTreeModel, StaysConsistentAcrossRebuilds) {
    const auto wide = WideProject();
    const auto mixed = MixedProject();
    const TProject empty;
    TModelFaults faults;
    TCouplingTreeModel model;
    QAbstractItemModelTester tester(&model,
                                    QAbstractItemModelTester::FailureReportingMode::Warning);

    struct Case {
        const TProject* project;
        int filter;
        std::int64_t minRating;
    };
    std::vector<Case> cases;
    for (const TProject* project : {wide.get(), mixed.get()})
        for (int filter = 0; filter <= 4; ++filter)
            for (const std::int64_t minRating : {1, 2, 3, 4, 6, 9, 10})
                cases.push_back({project, filter, minRating});
    cases.push_back({&empty, 0, 1});
    cases.push_back({nullptr, 0, 1});
    cases.push_back({wide.get(), 2, 1});

    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "filter " << c.filter << ", minimum " << c.minRating
                                        << (c.project ? "" : ", no project"));
        model.Rebuild(c.project, c.filter, c.minRating);
        EXPECT_EQ(model.columnCount(), 1);
        if (!c.project) {
            EXPECT_EQ(model.rowCount(), 0);
            continue;
        }
        EXPECT_EQ(model.rowCount(), c.filter == 0 ? 4 : 1);
        for (int g = 0; g < model.rowCount(); ++g) {
            const QModelIndex group = model.index(g, 0);
            const auto kind = static_cast<TCouplingKind>(c.filter == 0 ? g + 1 : c.filter);
            EXPECT_FALSE(model.CoupleAt(group));
            EXPECT_FALSE(model.parent(group).isValid());
            EXPECT_EQ(model.rowCount(group), CouplingsOfKind(*c.project, kind, c.minRating));
            for (int e = 0; e < model.rowCount(group); ++e) {
                const QModelIndex entry = model.index(e, 0, group);
                EXPECT_EQ(model.parent(entry), group);
                EXPECT_EQ(model.rowCount(entry), 0);
                EXPECT_TRUE(model.flags(entry).testFlag(Qt::ItemNeverHasChildren));
                const std::optional<TTOWSCouple> couple = model.CoupleAt(entry);
                ASSERT_TRUE(couple);
                EXPECT_EQ(GetCouplingKind(c.project->Items[couple->Index1]->SwotType,
                                          c.project->Items[couple->Index2]->SwotType),
                          kind);
                EXPECT_GE(GetCouplingRating(*c.project, couple->Index1, couple->Index2),
                          c.minRating);
            }
        }
    }
    EXPECT_TRUE(TModelFaults::Faults().isEmpty())
        << TModelFaults::Faults().join('\n').toStdString();
}
