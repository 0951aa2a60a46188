#include <gtest/gtest.h>

#include <limits>

#include "stats/report/JsonWriter.h"

namespace vexilo::stats {
namespace {

TEST(JsonWriter, EscapesTextAndLaysOutTheDocument) {
  struct Case {
    std::string text;
    std::string quoted;
  };
  const std::vector<Case> cases = {
      {"plain.CSV", "\"plain.CSV\""},
      {"say \"x\" \\ y", "\"say \\\"x\\\" \\\\ y\""},
      {"tab\there\nnew", "\"tab\\u0009here\\u000anew\""},
      {"caf\xC3\xA9 \xE2\x82\xAC", "\"caf\xC3\xA9 \xE2\x82\xAC\""},
      {"bad \xFF byte, cut \xC3", "\"bad \\ufffd byte, cut \\ufffd\""},
      {"overlong \xC0\xAF, surrogate \xED\xA0\x80",
       "\"overlong \\ufffd\\ufffd, surrogate \\ufffd\\ufffd\\ufffd\""},
  };
  for (const Case& c : cases) {
    JsonWriter json;
    json.String(c.text);
    EXPECT_EQ(json.Text(), c.quoted);
  }

  JsonWriter json;
  json.BeginObject();
  json.Key("n").Integer(-3);
  json.Key("list").BeginArray();
  json.Number(0.1);
  json.Number(std::numeric_limits<double>::quiet_NaN());
  json.Number(1e300);
  json.Number(0.1 + 0.2);
  json.Boolean(false);
  json.EndArray();
  json.Key("rows").BeginArray();
  json.BeginObject();
  json.Key("seed").Unsigned(18446744073709551615u);
  json.EndObject();
  json.EndArray();
  json.Key("empty").BeginArray();
  json.EndArray();
  json.EndObject();
  EXPECT_EQ(json.Text(),
            "{\n"
            "  \"n\": -3,\n"
            "  \"list\": [0.1, null, 1e+300, 0.30000000000000004, false],\n"
            "  \"rows\": [\n"
            "    {\n"
            "      \"seed\": 18446744073709551615\n"
            "    }\n"
            "  ],\n"
            "  \"empty\": []\n"
            "}\n");
}

}  // namespace
}  // namespace vexilo::stats
