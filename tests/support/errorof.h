#pragma once

#include "errors.h"

#include <QString>
#include <QTest>

/// The message of the error (of type Error) that `action` raises; the test fails when
/// it raises none.
template <typename Error = EKorvaneError, typename Action> QString ErrorOf(Action&& action)
{
    try {
        action();
    } catch (const Error& e) {
        return e.Message();
    }
    QTest::qFail("no error was raised", __FILE__, __LINE__);
    return QString();
}
