#pragma once

#include <QString>
#include <exception>
#include <stdexcept>

// The base of every error the program raises: a failure with a message for the
// user. Whoever catches one shows or prints Message() and goes on.
class EMerovanError : public std::runtime_error {
public:
    explicit EMerovanError(const QString& message);
    QString Message() const;
};

// The message with the reasons the system gives for a failed file operation
// ("No such file or directory") in the interface's language.
QString WithReasonsTranslated(QString message);

// The message for the user of whatever was thrown: the message of our own
// errors, a word about memory for a failed allocation, and the text of any
// other exception; the system's reasons in it in the interface's language.
QString ErrorMessage(std::exception_ptr error);
