#include "web/param_decoding.h"

#include <gtest/gtest.h>

namespace chimewell {
namespace {

using Lines = DecodedParams;

TEST(ParamDecoding, PlusIsSpaceAndPercentPairsAreBytes) {
  EXPECT_EQ(DecodeParams("a=x%2By+z"), Lines{"a=x+y z"});
  EXPECT_EQ(DecodeParams("BASESET=1&SPEAKOFFSET=300"), (Lines{"BASESET=1", "SPEAKOFFSET=300"}));
  // An encoded Shift-JIS character arrives as its two bytes, not reinterpreted.
  EXPECT_EQ(DecodeParamPiece("%82%A0"), std::string("\x82\xA0"));
  EXPECT_EQ(DecodeParamPiece("%e3%81%82"), "あ");
  // An encoded "=" counts like a plain one: names and values are decoded together.
  EXPECT_EQ(DecodeParamPiece("a%3Db=c"), "a=b=c");
}

TEST(ParamDecoding, BadOrZeroEscapesGiveNothingButAreConsumed) {
  EXPECT_EQ(DecodeParamPiece("a=%00b"), "a=b");
  EXPECT_EQ(DecodeParamPiece("a=%zzc"), "a=c");
  EXPECT_EQ(DecodeParamPiece("a=%4"), std::string("a=\x04"));
  EXPECT_EQ(DecodeParamPiece("a=%"), "a=");
  EXPECT_EQ(DecodeParamPiece("a=%4z9"), "a=9");
  // "+" is replaced before escapes are read, so "%+1" is not a hex pair.
  EXPECT_EQ(DecodeParamPiece("%+1x"), "x");
}

TEST(ParamDecoding, EveryAmpersandCutsEvenEmptyPieces) {
  EXPECT_EQ(DecodeParams("a=1&&b=2&"), (Lines{"a=1", "", "b=2", ""}));
  EXPECT_EQ(DecodeParams("&"), (Lines{"", ""}));
  EXPECT_TRUE(DecodeParams("").empty());
  // CR LF between body and query is not a separator: it stays inside the piece.
  EXPECT_EQ(DecodeParams("A=1\r\nB=2"), Lines{"A=1\r\nB=2"});
}

TEST(ParamDecoding, AMillionEmptyPiecesCostAFewBytesEach) {
  const std::string body(1 << 20, '&');
  const DecodedParams params = DecodeParams(body);
  ASSERT_EQ(params.size(), (1u << 20) + 1);
  EXPECT_EQ(params[0], "");
  EXPECT_EQ(params[1 << 20], "");
  EXPECT_EQ(GetParam(params, ""), "");
  const DecodedParams mixed = DecodeParams("a=%41&&b=x+y&" + std::string(1000, '&') + "c=3");
  EXPECT_EQ(GetParam(mixed, "c"), "3");
  EXPECT_EQ(mixed[2], "b=x y");
}

TEST(ParamLookup, FirstCaseInsensitiveNameMatchWins) {
  const Lines params{"SCHEADD=1", "X=1", "X=2", "flag", "E=", "F=a=b ", "=anon"};
  EXPECT_EQ(GetParam(params, "schEadd"), "1");
  EXPECT_EQ(GetParam(params, "X"), "1");
  EXPECT_EQ(GetParam(params, "x"), "1");
  EXPECT_EQ(GetParam(params, "flag"), "");  // a line without "=" never matches
  EXPECT_EQ(GetParam(params, "E"), "");
  EXPECT_EQ(GetParam(params, "F"), "a=b ");  // further "=" kept, not trimmed
  EXPECT_EQ(GetParam(params, ""), "anon");
  EXPECT_EQ(GetParam(params, "MISSING"), "");
  EXPECT_EQ(GetParam(params, "SCHEAD"), "");  // whole names only
}

}  // namespace
}  // namespace chimewell
