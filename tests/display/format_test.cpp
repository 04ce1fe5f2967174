// Read-out formats: the metric ladder, counts, durations and the calendar, as drawn.
#include "support/plugin_fixture.h"

#include "display/draw_state.h"
#include "display/format.h"
#include "model/module_state.h"
#include "host/gdi/recording_dc.h"

#include <cmath>
#include <string>

namespace {

std::string Ladder(double v, int decimals) {
    char buf[64];
    kavrex::LadderText(buf, sizeof buf, v, decimals);
    return buf;
}

TEST(Ladder, ChoosesItsUnitAtTheBoundaries) {
    EXPECT_EQ(Ladder(999.994, 2), "999.99");
    EXPECT_EQ(Ladder(1000, 2), "1.00k");
    EXPECT_EQ(Ladder(-2500, 2), "-2.50k");
    EXPECT_EQ(Ladder(999999, 2), "1000.00k");
    EXPECT_EQ(Ladder(1e6, 2), "1.00M");
    EXPECT_EQ(Ladder(1e9, 2), "1.00G");
    EXPECT_EQ(Ladder(999e9, 2), "999.00G");  // just below the switch to astronomical units
    EXPECT_EQ(Ladder(-999e9, 2), "-999.00G");
    EXPECT_EQ(Ladder(1e12, 2), "6.68AU");
    EXPECT_EQ(Ladder(1.5e12, 2), "10.03AU");
    EXPECT_EQ(Ladder(9.8, 4), "9.8000");
    EXPECT_EQ(Ladder(-0.5, 4), "-0.5000");
    EXPECT_EQ(Ladder(0.00612, 4), "0.0061");
}

// Civil date of a day count from 1970-01-01 (Gregorian), written independently of the module.
void CivilFromDays(long z, long &y, long &m, long &d) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = yoe + era * 400 + (m <= 2);
}

TEST(Calendar, MjdToTextAgreesWithTheCivilCalendarAcrossCenturies) {
    EXPECT_STREQ(kavrex::MjdToText(51544.5), "Sat Jan 01 12:00");
    EXPECT_STREQ(kavrex::MjdToText(51544.999), "Sat Jan 01 23:58");
    EXPECT_STREQ(kavrex::MjdToText(0), "Wed Nov 17 00:00");
    EXPECT_STREQ(kavrex::MjdToText(51603.75), "Tue Feb 29 18:00");  // 2000, a leap year
    EXPECT_STREQ(kavrex::MjdToText(88127), "Sun Feb 28 00:00");     // 2100: no 29 February
    EXPECT_STREQ(kavrex::MjdToText(88128), "Mon Mar 01 00:00");
    EXPECT_STREQ(kavrex::MjdToText(15079), "Thu Mar 01 00:00");  // 1900 likewise
    static const char *months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    static const char *days[] = {"Thu", "Fri", "Sat", "Sun", "Mon", "Tue", "Wed"};  // 1970-01-01 was a Thursday
    // From the Gregorian reform (MJD -100840, 1582) on; a negative date's fraction counts back
    // from its whole day, so those are checked at midnight.
    for (long mjd = -100840; mjd < 200000; mjd += 97) {
        long y, m, d;
        const long since1970 = mjd - 40587;
        CivilFromDays(since1970, y, m, d);
        char expect[32];
        std::snprintf(expect, sizeof expect, "%s %s %02ld %s", days[((since1970 % 7) + 7) % 7], months[m - 1], d,
                      mjd >= 0 ? "06:00" : "00:00");
        ASSERT_STREQ(kavrex::MjdToText(mjd >= 0 ? mjd + 0.25 : mjd), expect) << "MJD " << mjd << ", year " << y;
    }
}

TEST(Calendar, NegativeDatesGiveAWeekdayOfTheWeek) {
    // MJD -4 was a Saturday: the remainder of -1 must not index before the table.
    const std::string text = kavrex::MjdToText(-4);
    EXPECT_EQ(text.substr(0, 3), "Sat");
    for (double mjd : {-1.0, -3.0, -7.0, -100.0, -100841.0}) {
        const std::string t = kavrex::MjdToText(mjd);
        const std::string day = t.substr(0, 3);
        EXPECT_TRUE(day == "Sun" || day == "Mon" || day == "Tue" || day == "Wed" || day == "Thu" || day == "Fri" ||
                    day == "Sat")
            << t;
    }
}

class PrintTest : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        kavrex::Module().lineHeight = 10;  // as a 256-pixel display sets it
    }
    kvhost::RecordingDc dc{256, 256};
};

TEST_F(PrintTest, ReadOutLinesPutLabelAndValueInTheirColumnsAndColours) {
    kavrex::Draw().lineY = 0;
    kavrex::PrintDistance(dc.hdc(), "PeT", -2500);
    kavrex::PrintDuration(dc.hdc(), "Elapsed", 90061);
    kavrex::PrintMjd(dc.hdc(), "Eject", 51544.5, true);
    kavrex::PrintCount(dc.hdc(), "Tanks", 7);
    const auto &ops = dc.ops();
    ASSERT_EQ(ops.size(), 9u);
    EXPECT_EQ(ops[0].text, "PeT");
    EXPECT_EQ(ops[0].x0, 5);
    EXPECT_EQ(ops[0].color, 0x00FF00u);
    EXPECT_EQ(ops[1].text, "-2.50k");
    EXPECT_EQ(ops[1].x0, 90);
    EXPECT_EQ(ops[1].color, 0x0000FFu);  // negative: red
    EXPECT_EQ(ops[3].text, "25:01:01");  // hours are not wrapped at 24
    // A flight clock started at MJD 1e20 (a scenario's KV_EJECT), or no number at all: no time.
    for (double seconds : {-8.64e24, 1e20, std::nan("")}) {
        char text[64];
        kavrex::DurationText(text, sizeof text, seconds);
        EXPECT_STREQ(text, "--:--:--") << seconds;
    }
    char longest[64];
    kavrex::DurationText(longest, sizeof longest, 3600.0 * 99999999 + 59 * 60 + 59);
    EXPECT_STREQ(longest, "99999999:59:59");
    EXPECT_EQ(ops[3].y0, 10);
    EXPECT_EQ(ops[5].text, "51544.500000");
    EXPECT_EQ(ops[5].color, 0x00FFFFu);
    EXPECT_EQ(ops[6].text, "Sat Jan 01 12:00");
    EXPECT_EQ(ops[6].y0, 30);  // the calendar takes a second line
    EXPECT_EQ(ops[6].color, 0x00FFFFu);
    EXPECT_EQ(ops[8].text, "7");
    EXPECT_EQ(ops[8].y0, 40);
    EXPECT_EQ(kavrex::Draw().lineY, 50);
}

TEST_F(PrintTest, LongTextIsCutToTheLineBuffer) {
    kavrex::Draw().currentDc = dc.hdc();
    const std::string name(200, 'n');
    kavrex::DrawLine(5, 0xFFFFFF, " %s->%s", name.c_str(), name.c_str());
    ASSERT_EQ(dc.ops().size(), 1u);
    EXPECT_EQ(dc.ops()[0].text.size(), 63u);
}

}  // namespace
