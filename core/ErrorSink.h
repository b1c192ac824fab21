// The one way the panel reports a failure: a description of what failed and a
// short location naming where. The real sink appends to "Errorlog.txt"; tests
// record the entries instead.
#pragma once

#include <QString>

class ErrorSink {
public:
    virtual ~ErrorSink() = default;
    virtual void LogError(const QString& description, const QString& location) = 0;
};
