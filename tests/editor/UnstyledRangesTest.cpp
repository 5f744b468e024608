#include "app/editor/UnstyledRanges.h"

#include <QTest>

using namespace ravik;
using Ranges = std::vector<UnstyledRanges::Range>;

// The skipped parts of a text: added ranges merge, styled ones are cut out.
class UnstyledRangesTest : public QObject {
    Q_OBJECT
private slots:
    void addAndRemove();
};

void UnstyledRangesTest::addAndRemove() {
    UnstyledRanges ranges;
    ranges.add(30, 40);
    ranges.add(0, 10);
    ranges.add(10, 20); // touching ranges become one
    ranges.add(5, 5);
    QCOMPARE(ranges.ranges(), (Ranges{{0, 20}, {30, 40}}));
    ranges.remove(5, 8);
    ranges.remove(35, 50);
    QCOMPARE(ranges.ranges(), (Ranges{{0, 5}, {8, 20}, {30, 35}}));
    QCOMPARE(ranges.within(3, 31), (Ranges{{3, 5}, {8, 20}, {30, 31}}));
    ranges.add(4, 32);
    QCOMPARE(ranges.ranges(), (Ranges{{0, 35}}));
}

QTEST_APPLESS_MAIN(UnstyledRangesTest)
#include "UnstyledRangesTest.moc"
