#pragma once

#include <QString>
#include <utility>

namespace kordel {

// The answer of a store's rule: passed, or refused with the text the user is
// shown.  Stores return it; the window shows the refusal.
class Check
{
public:
    static Check passed() { return Check(); }
    static Check refused(QString message) { return Check(std::move(message)); }

    bool isPassed() const { return m_refusal.isEmpty(); }
    bool isRefused() const { return !m_refusal.isEmpty(); }
    // The refusal's text; empty when passed.
    const QString &message() const { return m_refusal; }

private:
    Check() = default;
    explicit Check(QString refusal) : m_refusal(std::move(refusal)) {}

    QString m_refusal;
};

} // namespace kordel
