#pragma once

#include <QByteArrayView>
#include <QString>
#include <exception>
#include <string>

namespace ravik::fuzz {

// Thrown by the checks at the first broken invariant; the entry points turn it into
// their text result.
struct Broken {
    std::string what;
};

[[noreturn]] void fail(const std::string& what);

// Fails with the message when ok is false; the message is only built then, as the
// checks run millions of times.
#define FUZZ_EXPECT(ok, message)                                                                   \
    do {                                                                                           \
        if (!(ok))                                                                                 \
            ::ravik::fuzz::fail(message);                                                          \
    } while (false)

// Readable form of bytes for reports: printable ASCII as it is, the rest escaped,
// cut after a few hundred bytes.
std::string shown(QByteArrayView bytes);
std::string shown(const QString& text);
inline std::string shown(const QByteArray& bytes) {
    return shown(QByteArrayView(bytes));
}

// Runs a check body and turns its outcome into the text result: empty when it
// passed, else the broken invariant or the unexpected exception.
template <typename Body> std::string runCheck(Body&& body) {
    try {
        body();
        return {};
    } catch (const Broken& broken) {
        return broken.what;
    } catch (const std::exception& e) {
        return std::string("unexpected exception: ") + e.what();
    }
}

} // namespace ravik::fuzz
