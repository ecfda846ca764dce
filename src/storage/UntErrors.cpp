#include "storage/UntErrors.h"

#include "model/UntStrings.h"
#include "storage/UntUtils.h"

#include <new>

EMerovanError::EMerovanError(const QString& message) : std::runtime_error(message.toStdString()) {}

QString EMerovanError::Message() const {
    return QString::fromStdString(what());
}

QString ErrorMessage(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const EMerovanError& failure) {
        return failure.Message();
    } catch (const std::bad_alloc&) {
        return LoadStr(StrOutOfMemory);
    } catch (const std::exception& failure) {
        return FillTemplate(LoadStr(StrUnexpectedError), QString::fromLocal8Bit(failure.what()));
    } catch (...) {
        return LoadStr(StrUnexpectedErrorBare);
    }
}
