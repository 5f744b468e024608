// The compact index of section numbers against a plain multimap: random inserts,
// erases and lookups, growing from empty, with hashes that collide wholly, in their
// four kept bits only, or not at all. Both indexes keep every entry when growing runs
// out of memory.
#include "core/platform/ini/IniIdIndex.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>
#include <map>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

quint32 streuung(qint32 id) {
    return quint32(id) * 2654435761u;
}

// In a child process with little room for growing: inserts until the memory ends,
// then looks every entry up. Gives the child's exit code: 0 when all are found.
template <typename Index, typename Insert> int einfuegenBisVoll(Insert einfuegen) {
    const pid_t kind = ::fork();
    if (kind == 0) {
        Index index;
        rlimit grenze{};
        ::getrlimit(RLIMIT_AS, &grenze);
        QFile status(QStringLiteral("/proc/self/status"));
        status.open(QIODevice::ReadOnly);
        rlim_t jetzt = 0;
        for (const QByteArray& zeile : status.readAll().split('\n'))
            if (zeile.startsWith("VmSize:"))
                jetzt = rlim_t(zeile.mid(7).trimmed().split(' ').value(0).toULongLong()) * 1024;
        grenze.rlim_cur = jetzt + (rlim_t(24) << 20);
        if (::setrlimit(RLIMIT_AS, &grenze) != 0)
            ::_exit(3);
        qint32 n = 0;
        try {
            for (;; ++n)
                einfuegen(index, n);
        } catch (const std::bad_alloc&) {
        }
        for (qint32 i = 0; i < n; ++i)
            if (index.find(streuung(i), [&](qint32 v) { return v == i; }) != i)
                ::_exit(1);
        ::_exit(n > 100000 ? 0 : 2);
    }
    int status = 0;
    ::waitpid(kind, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 4;
}

} // namespace

using namespace ravik;

class IniIdIndexTest : public QObject {
    Q_OBJECT
private slots:
    void agreesWithAPlainMap_data() {
        QTest::addColumn<quint32>("hashes"); // how many different hashes the names have
        QTest::newRow("one hash for every name") << 1u;
        QTest::newRow("few hashes") << 7u;
        QTest::newRow("a hash each") << 0u;
    }

    void agreesWithAPlainMap() {
        QFETCH(quint32, hashes);
        // A number's "name" is the number itself; its hash as the caller computes it.
        const auto hashOf = [&](qint32 id) { return hashes ? quint32(id) % hashes : quint32(id) * 2654435761u; };
        IniIdIndex index;
        std::multimap<quint32, qint32> model;
        QRandomGenerator zufall(17);
        for (int schritt = 0; schritt < 20000; ++schritt) {
            const qint32 id = qint32(zufall.bounded(3000));
            const quint32 hash = hashOf(id);
            const auto gleich = [&](qint32 other) { return other == id; };
            const bool drin = index.find(hash, gleich) == id;
            bool imModell = false;
            for (auto [it, ende] = model.equal_range(hash); it != ende; ++it)
                imModell = imModell || it->second == id;
            QCOMPARE(drin, imModell);
            if (zufall.bounded(3) == 0) {
                QCOMPARE(index.erase(hash, id), imModell);
                for (auto [it, ende] = model.equal_range(hash); it != ende; ++it)
                    if (it->second == id) {
                        model.erase(it);
                        break;
                    }
            } else {
                QCOMPARE(index.findOrInsert(hash, id, gleich, hashOf), id);
                if (!imModell)
                    model.emplace(hash, id);
            }
            QCOMPARE(index.size(), qsizetype(model.size()));
        }
        index.insert(hashOf(IniIdIndex::kMaxId), IniIdIndex::kMaxId, hashOf); // the largest number fits
        QCOMPARE(index.find(hashOf(IniIdIndex::kMaxId), [](qint32 id) { return id == IniIdIndex::kMaxId; }),
                 IniIdIndex::kMaxId);
    }

    void growingWithoutMemoryKeepsEveryEntry() {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("AddressSanitizer reserves terabytes of address space and cannot run under RLIMIT_AS; "
              "the plain build runs this test");
#endif
        QCOMPARE(einfuegenBisVoll<IniHashIndex>([](IniHashIndex& i, qint32 n) { i.insert(streuung(n), n); }), 0);
        QCOMPARE(einfuegenBisVoll<IniIdIndex>([](IniIdIndex& i, qint32 n) { i.insert(streuung(n), n, streuung); }), 0);
    }
};

QTEST_GUILESS_MAIN(IniIdIndexTest)
#include "IniIdIndexTest.moc"
