#include "web/PromoDraw.h"

#include <QTest>

#include <array>

class TestPromoDraw : public QObject
{
    Q_OBJECT
private slots:
    void coBrandOddsOverEveryDraw();
    void coBrandRounding_data();
    void coBrandRounding();
    void exitCaptionOddsOverEveryDraw();
};

// Every value a 24-bit single-precision generator can give, so the odds are exact, not sampled.
void TestPromoDraw::coBrandOddsOverEveryDraw()
{
    std::array<int, 8> count{};
    for (quint32 k = 0; k < (1u << 24); ++k) {
        const int n = PromoDraw::coBrandNumber(static_cast<float>(k) / 16777216.0f);
        QVERIFY(n >= 1 && n <= 7);
        ++count[std::size_t(n)];
    }
    const double total = 1u << 24;
    // 1 and 7 each cover half a step of r * 6 + 1; 2 to 6 a whole step. Ties go to even, so the share of
    // each may differ from the ideal by the single value at a boundary.
    for (int n = 1; n <= 7; ++n) {
        const double ideal = (n == 1 || n == 7) ? 1.0 / 12 : 1.0 / 6;
        QVERIFY2(std::abs(count[std::size_t(n)] / total - ideal) < 1e-6, qPrintable(QString::number(n)));
    }
    const double coBrand = (count[1] + count[3] + count[5]) / total;
    const double fullBrand = (count[2] + count[4] + count[6]) / total;
    QVERIFY(std::abs(coBrand - 5.0 / 12) < 1e-6);
    QVERIFY(std::abs(fullBrand - 0.5) < 1e-6);
    QVERIFY(std::abs(count[7] / total - 1.0 / 12) < 1e-6);
}

void TestPromoDraw::coBrandRounding_data()
{
    QTest::addColumn<float>("r");
    QTest::addColumn<int>("number");
    QTest::addColumn<StripOffer>("offer");
    QTest::newRow("0") << 0.0f << 1 << StripOffer::CoBrand;
    QTest::newRow("1.5 to 2") << 1.0f / 12 << 2 << StripOffer::FullBrand;
    QTest::newRow("2.5 to 2") << 0.25f << 2 << StripOffer::FullBrand;
    QTest::newRow("just over 2.5") << 0.2500001f << 3 << StripOffer::CoBrand;
    QTest::newRow("6.5 to 6") << 0.9166666666f << 6 << StripOffer::FullBrand;
    QTest::newRow("largest") << 0.99999994f << 7 << StripOffer::Unchanged;
}

void TestPromoDraw::coBrandRounding()
{
    QFETCH(float, r);
    QFETCH(int, number);
    QCOMPARE(PromoDraw::coBrandNumber(r), number);
    QTEST(PromoDraw::stripOffer(number), "offer");
}

void TestPromoDraw::exitCaptionOddsOverEveryDraw()
{
    std::array<int, 4> count{};
    for (quint32 k = 0; k < (1u << 24); ++k)
        ++count[std::size_t(PromoDraw::exitCaptionIndex(static_cast<float>(k) / 16777216.0f))];
    for (int c : count)
        QCOMPARE(c, 1 << 22);
}

QTEST_APPLESS_MAIN(TestPromoDraw)
#include "TestPromoDraw.moc"
