#include "Support/JsonWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

TEST(JsonWriter, WritesMembersInTheOrderGivenCompactEscapedAndNumbersAtTheirLimits) {
    JsonWriter json;
    json.beginArray()
        .beginObject()
        .key(u"z").value(std::int64_t{1})
        .key(u"a").beginArray().value(true).value(false).null().endArray()
        .key(u"m").beginObject().endObject()
        .endObject()
        .value(QStringLiteral("/usr/share/a\"b\\c\n\t\x01"))
        .value(std::numeric_limits<std::int64_t>::min())
        .value(std::numeric_limits<std::uint64_t>::max())
        .value(100.0).value(-0.5).value(0.1)
        .value(std::numeric_limits<double>::quiet_NaN())
        .endArray();
    EXPECT_EQ(json.bytes().toStdString(),
              R"([{"z":1,"a":[true,false,null],"m":{}},"\/usr\/share\/a\"b\\c\n\t\u0001",)"
              R"(-9223372036854775808,18446744073709551615,100,-0.5,0.1,null])");
}
