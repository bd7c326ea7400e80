#include "text/md5.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "text/crypto_provider.h"

namespace miravel {
namespace {

Bytes B(std::string_view s) { return Bytes(s.begin(), s.end()); }

TEST(Md5, Rfc1321TestSuite) {
  struct Vector {
    const char* input;
    const char* digest;
  };
  const Vector vectors[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890"
       "123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& v : vectors) {
    SCOPED_TRACE(v.input);
    Text text = v.input;
    EXPECT_EQ(TextMd5(text), v.digest);
    EXPECT_EQ(BytesMd5(B(v.input)), v.digest);
  }
}

TEST(Md5, DigestForms) {
  struct Form {
    const char* name;
    bool upperCase;
    bool shortForm;
    const char* expected;
  };
  const Form forms[] = {
      {"lower case", false, false, "900150983cd24fb0d6963f7d28e17f72"},
      {"upper case", true, false, "900150983CD24FB0D6963F7D28E17F72"},
      {"short: digits 9 to 24", false, true, "3cd24fb0d6963f7d"},
      {"short upper case", true, true, "3CD24FB0D6963F7D"},
  };
  for (const auto& f : forms) {
    SCOPED_TRACE(f.name);
    Text text = "abc";
    EXPECT_EQ(TextMd5(text, true, f.upperCase, f.shortForm), f.expected);
    EXPECT_EQ(BytesMd5(B("abc"), f.upperCase, f.shortForm), f.expected);
  }
}

TEST(Md5, Utf8OptionHashesAndHandsBackTheUtf8Form) {
  Text ascii = "token&1700000000000&12574478&{}";
  const Text asciiBefore = ascii;
  Text asciiPlain = ascii;
  EXPECT_EQ(TextMd5(ascii, true), TextMd5(asciiPlain));
  EXPECT_EQ(ascii, asciiBefore);

  Text chinese = "\xC4\xE3\xBA\xC3";  // GBK
  Text chinesePlain = chinese;
  const Text utf8Digest = TextMd5(chinese, true);
  EXPECT_EQ(chinese, "\xE4\xBD\xA0\xE5\xA5\xBD") << "the caller's text now holds the UTF-8 bytes";
  EXPECT_NE(utf8Digest, TextMd5(chinesePlain));
  EXPECT_EQ(utf8Digest, BytesMd5(B("\xE4\xBD\xA0\xE5\xA5\xBD")));
  EXPECT_EQ(chinesePlain, "\xC4\xE3\xBA\xC3") << "without the option the text is left alone";
}

TEST(HashHex, AlgorithmsAndDigestLengths) {
  const Bytes abc = B("abc");
  EXPECT_EQ(HashHex(abc, CALG_MD5, 16), "900150983CD24FB0D6963F7D28E17F72");
  EXPECT_EQ(HashHex(abc, CALG_SHA1, 20), "A9993E364706816ABA3E25717850C26C9CD0D89D");
  EXPECT_EQ(HashHex(abc, 0x800C, 32), "") << "SHA-256 is not offered by the full RSA provider";
  EXPECT_EQ(HashHex(abc, 0, 16), "");
  EXPECT_EQ(HashHex(abc, CALG_MD5, 8), "") << "a buffer shorter than the digest";
  EXPECT_EQ(HashHex(abc, CALG_MD5, 0), "");
  EXPECT_EQ(HashHex(abc, CALG_MD5, 20), "900150983CD24FB0D6963F7D28E17F72")
      << "as many digits as the provider reports";
}

// A provider that fails the step a test names and records every call, so
// the release order can be checked.
enum class FailAt { kNothing, kVerifyAcquire, kEveryAcquire, kCreateHash, kHashData, kGetHashValue };

struct Script {
  FailAt failAt = FailAt::kNothing;
  std::vector<std::string> calls;
};

class ScriptedHash final : public CryptoHash {
 public:
  ScriptedHash(Script& script, std::unique_ptr<CryptoHash> real) : script_(script), real_(std::move(real)) {}
  ~ScriptedHash() override { script_.calls.push_back("destroy hash"); }
  bool HashData(const std::uint8_t* data, std::size_t size) override {
    script_.calls.push_back("hash data");
    return script_.failAt != FailAt::kHashData && real_->HashData(data, size);
  }
  bool GetHashValue(std::uint8_t* buffer, std::size_t* size) override {
    script_.calls.push_back("get hash value");
    return script_.failAt != FailAt::kGetHashValue && real_->GetHashValue(buffer, size);
  }

 private:
  Script& script_;
  std::unique_ptr<CryptoHash> real_;
};

class ScriptedProvider final : public CryptoProvider {
 public:
  ScriptedProvider(Script& script, std::unique_ptr<CryptoProvider> real)
      : script_(script), real_(std::move(real)) {}
  ~ScriptedProvider() override { script_.calls.push_back("release provider"); }
  std::unique_ptr<CryptoHash> CreateHash(std::uint32_t algorithm) override {
    script_.calls.push_back("create hash");
    if (script_.failAt == FailAt::kCreateHash) return nullptr;
    return std::make_unique<ScriptedHash>(script_, real_->CreateHash(algorithm));
  }

 private:
  Script& script_;
  std::unique_ptr<CryptoProvider> real_;
};

class FailingProviderTest : public ::testing::Test {
 protected:
  FailingProviderTest()
      : override_([this](std::uint32_t flags) -> std::unique_ptr<CryptoProvider> {
          script_.calls.push_back(flags == CRYPT_VERIFYCONTEXT ? "acquire verify" : "acquire 0");
          if (script_.failAt == FailAt::kEveryAcquire) return nullptr;
          if (script_.failAt == FailAt::kVerifyAcquire && flags == CRYPT_VERIFYCONTEXT) return nullptr;
          return std::make_unique<ScriptedProvider>(script_, AcquireDefaultCryptoProvider(flags));
        }) {}

  Script script_;
  ScopedCryptoProviderOverride override_;
};

TEST_F(FailingProviderTest, NoProviderMakesEveryRoutineEmpty) {
  script_.failAt = FailAt::kEveryAcquire;
  Text text = "abc";
  EXPECT_EQ(TextMd5(text, true, true, true), "");
  EXPECT_EQ(BytesMd5(B("abc")), "");
  EXPECT_EQ(BytesMd5(B("abc"), false, true), "");
  EXPECT_EQ(HashHex(B("abc"), CALG_MD5, 16), "");
  EXPECT_EQ(script_.calls, (std::vector<std::string>{"acquire verify", "acquire 0", "acquire verify",
                                                     "acquire 0", "acquire verify", "acquire 0",
                                                     "acquire verify", "acquire 0"}));
}

TEST_F(FailingProviderTest, SecondAcquireWithoutFlagsIsUsed) {
  script_.failAt = FailAt::kVerifyAcquire;
  EXPECT_EQ(BytesMd5(B("abc")), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(script_.calls,
            (std::vector<std::string>{"acquire verify", "acquire 0", "create hash", "hash data",
                                      "get hash value", "destroy hash", "release provider"}));
}

TEST_F(FailingProviderTest, EachFailedStepGivesEmptyAndReleasesHashBeforeProvider) {
  struct Row {
    const char* name;
    FailAt failAt;
    std::vector<std::string> calls;
  };
  const Row rows[] = {
      {"create hash", FailAt::kCreateHash, {"acquire verify", "create hash", "release provider"}},
      {"hash data",
       FailAt::kHashData,
       {"acquire verify", "create hash", "hash data", "destroy hash", "release provider"}},
      {"get hash value",
       FailAt::kGetHashValue,
       {"acquire verify", "create hash", "hash data", "get hash value", "destroy hash", "release provider"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    script_.failAt = row.failAt;
    script_.calls.clear();
    EXPECT_EQ(HashHex(B("abc"), CALG_MD5, 16), "");
    EXPECT_EQ(script_.calls, row.calls);
  }
}

}  // namespace
}  // namespace miravel
