#include "storage/UntErrors.h"

#include "model/UntStrings.h"
#include "storage/UntUtils.h"

#include <cerrno>
#include <cstring>
#include <new>

EMerovanError::EMerovanError(const QString& message) : std::runtime_error(message.toStdString()) {}

QString EMerovanError::Message() const {
    return QString::fromStdString(what());
}

QString WithReasonsTranslated(QString message) {
    // Qt gives some reasons in English and others through its translations,
    // the C library in the language of the system's locale, libzip in
    // English: each is matched as written and as the C library words it.
    struct TReason {
        int Code; // 0: a reason of libzip's
        const char* English;
        int Id;
    };
    static constexpr TReason Reasons[] = {
        {ENOENT, "No such file or directory", StrReasonNoEntry},
        {EACCES, "Permission denied", StrReasonDenied},
        {EMFILE, "Too many open files", StrReasonTooManyFiles},
        {ENOSPC, "No space left on device", StrReasonNoSpace},
        {EISDIR, "Is a directory", StrReasonIsFolder},
        {ENOTDIR, "Not a directory", StrReasonNotFolder},
        {EROFS, "Read-only file system", StrReasonReadOnly},
        {ENAMETOOLONG, "File name too long", StrReasonNameTooLong},
        {EDQUOT, "Disk quota exceeded", StrReasonQuota},
        {EEXIST, "File exists", StrReasonExists},
        {ELOOP, "Too many levels of symbolic links", StrReasonLinkLoop},
        {0, "No such file", StrReasonNoFile},
    };
    for (const TReason& reason : Reasons) {
        const QString translated = LoadStr(reason.Id);
        message.replace(QString::fromLatin1(reason.English), translated);
        if (reason.Code != 0)
            message.replace(QString::fromLocal8Bit(std::strerror(reason.Code)), translated);
    }
    return message;
}

QString ErrorMessage(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const EMerovanError& failure) {
        return WithReasonsTranslated(failure.Message());
    } catch (const std::bad_alloc&) {
        return LoadStr(StrOutOfMemory);
    } catch (const std::exception& failure) {
        return FillTemplate(LoadStr(StrUnexpectedError), QString::fromLocal8Bit(failure.what()));
    } catch (...) {
        return LoadStr(StrUnexpectedErrorBare);
    }
}
