// The compact index of section numbers against a plain multimap: random inserts,
// erases and lookups, growing from empty, with hashes that collide wholly, in their
// four kept bits only, or not at all.
#include "core/platform/ini/IniIdIndex.h"

#include <QRandomGenerator>
#include <QTest>
#include <map>

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
};

QTEST_GUILESS_MAIN(IniIdIndexTest)
#include "IniIdIndexTest.moc"
