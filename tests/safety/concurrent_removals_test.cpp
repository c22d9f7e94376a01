// Two removals at the same time: the second is started at each registry call
// of the first in turn, as another process. With the machine's removal lock
// it changes nothing and ends 1618; retried once the first is done, as a
// deployment tool retries on 1618, the machine ends as after the two in order.
#include <gtest/gtest.h>

#include <functional>

#include "app/program_run.h"
#if defined(_WIN32)
#include "platform/win32/win32_log_file.h"
#else
#include "tests/support/portable/disk_log_file.h"
#endif
#include "tests/support/registry_probe.h"
#include "tests/support/test_platform.h"

namespace tw::test {
namespace {

// Runs a hook before one chosen call, counting every call.
class InterleavingRegistry : public Registry {
 public:
  InterleavingRegistry(Registry& inner, std::uint64_t at, std::function<void()> hook)
      : inner_(inner), at_(at), hook_(std::move(hook)) {}

  Status OpenKey(RegKey parent, const char* subKey, AccessMask access, RegKey* result) override {
    Next();
    return inner_.OpenKey(parent, subKey, access, result);
  }
  Status CreateKey(RegKey parent, const char* subKey, RegKey* result) override {
    Next();
    return inner_.CreateKey(parent, subKey, result);
  }
  Status QueryValue(RegKey key, const char* name, ValueType* type, std::uint8_t* data, std::uint32_t* size) override {
    Next();
    return inner_.QueryValue(key, name, type, data, size);
  }
  Status SetValue(RegKey key, const char* name, ValueType type, const std::uint8_t* data, std::uint32_t size) override {
    Next();
    return inner_.SetValue(key, name, type, data, size);
  }
  Status EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* chars) override {
    Next();
    return inner_.EnumKey(key, index, name, chars);
  }
  Status EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* chars, ValueType* type,
                   std::uint8_t* data, std::uint32_t* size) override {
    Next();
    return inner_.EnumValue(key, index, name, chars, type, data, size);
  }
  Status DeleteValue(RegKey key, const char* name) override {
    Next();
    return inner_.DeleteValue(key, name);
  }
  Status DeleteKey(RegKey key, const char* subKey) override {
    Next();
    return inner_.DeleteKey(key, subKey);
  }
  Status CloseKey(RegKey key) override {
    Next();
    return inner_.CloseKey(key);
  }
  Status LoadHive(const char* name, const char* file) override {
    Next();
    return inner_.LoadHive(name, file);
  }
  Status UnloadHive(const char* name) override {
    Next();
    return inner_.UnloadHive(name);
  }
  std::uint64_t Calls() const { return calls_; }

 private:
  void Next() {
    if (++calls_ == at_) hook_();
  }
  Registry& inner_;
  std::uint64_t at_;
  std::function<void()> hook_;
  std::uint64_t calls_ = 0;
};

// The registry but the ledger, whose entries hold each run's own time.
std::string WithoutLedger(const std::string& snapshot) {
  std::string kept;
  bool ledger = false;
  std::size_t begin = 0;
  while (begin < snapshot.size()) {
    std::size_t end = snapshot.find('\n', begin);
    end = end == std::string::npos ? snapshot.size() : end + 1;
    const std::string line = snapshot.substr(begin, end - begin);
    if (!line.empty() && line[0] == '[') ledger = line.find("\\Talkwise\\Uninstall") != std::string::npos;
    if (!ledger) kept += line;
    begin = end;
  }
  return kept;
}

struct Pair {
  const char* name;
  const char* first;
  const char* second;
};

const Pair kPairs[] = {
    {"two products", "ProdTWDLite X en_us C:\\Uninst\\uninst.exe C:\\Uninst\\lite.log",
     "ProdTWC C en_us C:\\Uninst\\uninst.exe C:\\Uninst\\twc.log"},
    {"one product twice", "ProdTWDLite X en_us C:\\Uninst\\uninst.exe C:\\Uninst\\lite.log",
     "ProdTWDLite X en_us C:\\Uninst\\uninst.exe C:\\Uninst\\lite.log"},
    {"the last product twice", "ProdTWD D de_de C:\\Uninst\\uninst.exe C:\\Uninst\\twd.log",
     "ProdTWD D de_de C:\\Uninst\\uninst.exe C:\\Uninst\\twd.log"},
};

void Install(TestPlatform& platform, const Pair& pair) {
  platform.LoadFixture("family_installed.reg");
  if (std::string(pair.name) == "the last product twice") MakeLastProduct(platform.registry, "ProdTWD", "DE_DE");
}

TEST(ConcurrentRemovals, ASecondRemovalAtEveryCallOfTheFirstWaitsItsTurn) {
  TW_PORTABLE_ONLY();
  for (const Pair& pair : kPairs) {
    SCOPED_TRACE(pair.name);
    TestPlatform inOrder;
    Install(inOrder, pair);
    std::uint64_t calls = 0;
    {
      InterleavingRegistry counting(inOrder.registry, 0, [] {});
      inOrder.RunProgram(std::string("/quiet ") + pair.first, counting);
      calls = counting.Calls();
    }
    EXPECT_EQ(inOrder.RunProgram(std::string("/quiet ") + pair.second), 0);
    const std::string expected = WithoutLedger(inOrder.Snapshot());
    ASSERT_GT(calls, 0u);
    for (std::uint64_t at = 1; at <= calls && !HasFailure(); ++at) {
      SCOPED_TRACE("the second started at call " + std::to_string(at) + " of " + std::to_string(calls));
      TestPlatform platform;
      Install(platform, pair);
      PortableRemovalLock secondsLock(platform.lockMachine);
      int secondExit = -1;
      InterleavingRegistry registry(platform.registry, at, [&] {
        // Another process on the same machine, between two calls of the first.
        const std::string before = platform.Snapshot();
        StreamStandardOutput output(platform.standardOutput);
        const Platform second = platform.View().With(secondsLock);
#if defined(_WIN32)
        Win32LogFile log;
#else
        DiskLogFile log(platform.files);
#endif
        secondExit = RunProgram(second, log, output, std::string("/quiet ") + pair.second, TestPlatform::kInstance);
        EXPECT_EQ(platform.Snapshot(), before) << "the second changed the machine while the first ran";
      });
      EXPECT_EQ(platform.RunProgram(std::string("/quiet ") + pair.first, registry), 0);
      const bool locked = secondExit == 1618;
      EXPECT_TRUE(locked) << "the second ran beside the first, exit code " << secondExit;
      if (locked) {
        EXPECT_EQ(platform.RunProgram(std::string("/quiet ") + pair.second), 0);
      }
      EXPECT_EQ(WithoutLedger(platform.Snapshot()), expected);
    }
  }
}

}  // namespace
}  // namespace tw::test
