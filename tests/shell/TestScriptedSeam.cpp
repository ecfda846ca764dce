#include "ScriptedSeam.h"

#include <gtest/gtest-spi.h>

// The seam the window tests answer through fails a test that is asked what it
// did not script, and one that scripted an answer nobody asked for.
TEST(ScriptedSeam, AnUnscriptedQuestionFailsAndIsCancelled) {
    EXPECT_NONFATAL_FAILURE(
        {
            TScriptedSeam seam;
            QDialog dialog;
            dialog.setObjectName(QStringLiteral("DlgAsked"));
            EXPECT_EQ(seam.ExecDialog(dialog), QDialog::Rejected);
        },
        "unscripted dialog: DlgAsked");
    EXPECT_NONFATAL_FAILURE(
        {
            TScriptedSeam seam;
            EXPECT_EQ(seam.Message(nullptr, QMessageBox::Question, QStringLiteral("Replace it?"),
                                   QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel),
                      QMessageBox::Cancel);
        },
        "unscripted question: Replace it?");
    EXPECT_NONFATAL_FAILURE(
        {
            TScriptedSeam seam;
            TFileRequest request;
            request.Caption = QStringLiteral("Open a plan");
            EXPECT_EQ(seam.OpenFile(nullptr, request), std::nullopt);
        },
        "unscripted file dialog: Open a plan");
    EXPECT_NONFATAL_FAILURE(
        {
            TScriptedSeam seam;
            EXPECT_EQ(seam.InputText(nullptr, {}, QStringLiteral("New wording"), {}), std::nullopt);
        },
        "unscripted input box: New wording");
}

TEST(ScriptedSeam, AnAnswerNobodyAskedForFails) {
    EXPECT_NONFATAL_FAILURE(
        {
            TScriptedSeam seam;
            seam.AnswerDialog(QDialog::Accepted);
        },
        "unused answer: dialog result 1");
    EXPECT_NONFATAL_FAILURE(
        {
            TScriptedSeam seam;
            seam.Answer({QMessageBox::Yes});
        },
        "unused answer: message box button");
    EXPECT_NONFATAL_FAILURE(
        {
            TScriptedSeam seam;
            seam.AnswerFile(QStringLiteral("/tmp/plan.swot"));
        },
        "unused answer: file dialog /tmp/plan.swot");
    EXPECT_NONFATAL_FAILURE(
        {
            TScriptedSeam seam;
            seam.CancelInput();
        },
        "unused answer: input box cancelled");
}

// What was scripted and asked, including a message that only tells, passes.
TEST(ScriptedSeam, AnswersTheQuestionsInTheirOrder) {
    TScriptedSeam seam;
    seam.CancelDialog();
    seam.Answer({QMessageBox::No});
    seam.AnswerFile(QStringLiteral("/tmp/plan.swot"), 2);
    seam.AnswerInput(QStringLiteral("Lucky strikes"));
    QDialog dialog;
    EXPECT_EQ(seam.ExecDialog(dialog), QDialog::Rejected);
    EXPECT_EQ(
        seam.Message(nullptr, QMessageBox::Information, QStringLiteral("Saved"), QMessageBox::Ok),
        QMessageBox::Ok);
    EXPECT_EQ(seam.Message(nullptr, QMessageBox::Question, QStringLiteral("Save changes?"),
                           QMessageBox::Yes | QMessageBox::No),
              QMessageBox::No);
    const auto file = seam.SaveFile(nullptr, {});
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(file->Path, "/tmp/plan.swot");
    EXPECT_EQ(file->FilterIndex, 2);
    EXPECT_EQ(seam.InputText(nullptr, {}, {}, {}), "Lucky strikes");
    EXPECT_EQ(seam.Messages, (QStringList{"Saved", "Save changes?"}));
}
