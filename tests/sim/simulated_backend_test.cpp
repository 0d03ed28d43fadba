// The in-process backend through the link API, as the session uses it.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <atomic>
#include <string>
#include <thread>

#include "platform/link/ft_api.h"
#include "sim/simulated_backend.h"
#include "sim_test_util.h"

namespace rz47::sim {
namespace {

using testing::Bytes;
using testing::Frame;

class SimulatedLink : public ::testing::Test {
 protected:
  void SetUp() override { Install({}); }
  void TearDown() override { SetLinkBackend(nullptr); }

  void Install(const GaugeFaults& faults) {
    backend = std::make_shared<SimulatedBackend>(MakeDemoGaugeModel(), faults);
    SetLinkBackend(backend);
  }

  FT_HANDLE OpenGauge() {
    DWORD count = 0;
    EXPECT_EQ(FT_CreateDeviceInfoList(&count), FT_OK);
    FT_HANDLE handle = nullptr;
    EXPECT_EQ(FT_Open(0, &handle), FT_OK);
    return handle;
  }

  // Writes `bytes`, then reads `want` bytes; the status of the read is returned.
  FT_STATUS Transact(FT_HANDLE h, const Bytes& bytes, std::size_t want, Bytes* answer) {
    DWORD written = 0;
    if (FT_STATUS s = FT_Write(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written); s != FT_OK) return s;
    answer->assign(want, 0);
    DWORD got = 0;
    const FT_STATUS s = FT_Read(h, answer->data(), static_cast<DWORD>(want), &got);
    answer->resize(got);
    return s;
  }

  std::shared_ptr<SimulatedBackend> backend;
};

TEST_F(SimulatedLink, ListsOneGaugeAndStoresTheHandleInItsNode) {
  DWORD count = 0;
  ASSERT_EQ(FT_CreateDeviceInfoList(&count), FT_OK);
  ASSERT_EQ(count, 1u);
  FT_DEVICE_LIST_INFO_NODE node{};
  ASSERT_EQ(FT_GetDeviceInfoList(&node, &count), FT_OK);
  EXPECT_STREQ(node.Description, "RZ-4.7 simulated");
  EXPECT_EQ(std::memcmp(node.Description, "RZ-4.7", 6), 0);
  EXPECT_EQ(node.ftHandle, 0u);

  FT_HANDLE handle = nullptr;
  ASSERT_EQ(FT_Open(0, &handle), FT_OK);
  ASSERT_EQ(FT_GetDeviceInfoList(&node, &count), FT_OK);
  EXPECT_EQ(node.ftHandle, static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle)));
  EXPECT_EQ(node.Flags, 1u);
}

TEST_F(SimulatedLink, ConfiguresLikeTheSession) {
  FT_HANDLE h = OpenGauge();
  EXPECT_EQ(FT_SetDivisor(h, 3), FT_OK);
  EXPECT_EQ(FT_SetDataCharacteristics(h, 8, 0, 0), FT_OK);
  EXPECT_EQ(FT_SetTimeouts(h, 3000, 3000), FT_OK);
  EXPECT_EQ(FT_Purge(h, FT_PURGE_RX | FT_PURGE_TX), FT_OK);
  EXPECT_EQ(FT_SetDivisor(h, 0), FT_INVALID_PARAMETER);
  EXPECT_EQ(FT_SetDataCharacteristics(h, 9, 0, 0), FT_INVALID_PARAMETER);
}

struct RefusalCase {
  std::string name;
  FT_STATUS (*call)(FT_HANDLE open);
  FT_STATUS expected;
};

class SimulatedLinkRefusals : public SimulatedLink, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(SimulatedLinkRefusals, Refuse) {
  FT_HANDLE h = OpenGauge();
  EXPECT_EQ(GetParam().call(h), GetParam().expected);
}

FT_HANDLE Bogus(FT_HANDLE open) {
  return reinterpret_cast<FT_HANDLE>(reinterpret_cast<std::uintptr_t>(open) + 1000);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, SimulatedLinkRefusals,
    ::testing::Values(
        RefusalCase{"second_open", [](FT_HANDLE) { FT_HANDLE h2 = nullptr; return FT_Open(0, &h2); },
                    FT_DEVICE_NOT_OPENED},
        RefusalCase{"open_beyond_list", [](FT_HANDLE) { FT_HANDLE h2 = nullptr; return FT_Open(1, &h2); },
                    FT_DEVICE_NOT_FOUND},
        RefusalCase{"write_unknown_handle",
                    [](FT_HANDLE h) { DWORD n = 0; return FT_Write(Bogus(h), "x", 1, &n); }, FT_INVALID_HANDLE},
        RefusalCase{"read_unknown_handle",
                    [](FT_HANDLE h) { char b; DWORD n = 0; return FT_Read(Bogus(h), &b, 1, &n); }, FT_INVALID_HANDLE},
        RefusalCase{"purge_unknown_handle", [](FT_HANDLE h) { return FT_Purge(Bogus(h), 3); }, FT_INVALID_HANDLE},
        RefusalCase{"close_twice", [](FT_HANDLE h) { FT_Close(h); return FT_Close(h); }, FT_INVALID_HANDLE}),
    [](const auto& testInfo) { return testInfo.param.name; });

TEST_F(SimulatedLink, AnswerReadsInPiecesAndShortReadsSucceed) {
  FT_HANDLE h = OpenGauge();
  Bytes header;
  ASSERT_EQ(Transact(h, Frame(0x01, 0, 0), 5, &header), FT_OK);
  EXPECT_EQ(header, (Bytes{0xAA, 0x01, 0xFE, 0x00, 0x00}));
  Bytes payload(40, 0);
  DWORD got = 0;
  ASSERT_EQ(FT_Read(h, payload.data(), 40, &got), FT_OK);  // 16 left, 40 asked
  EXPECT_EQ(got, 16u);
  EXPECT_EQ(std::string(payload.begin() + 6, payload.begin() + 16), "21.04.2015");
  ASSERT_EQ(FT_Read(h, payload.data(), 5, &got), FT_OK);  // nothing left
  EXPECT_EQ(got, 0u);
}

TEST_F(SimulatedLink, PurgeOfTheReceiveSideDropsPendingAnswers) {
  FT_HANDLE h = OpenGauge();
  DWORD n = 0;
  const Bytes frame = Frame(0x06, 0, 0);
  ASSERT_EQ(FT_Write(h, frame.data(), 5, &n), FT_OK);
  ASSERT_EQ(FT_Purge(h, FT_PURGE_TX), FT_OK);
  EXPECT_EQ(backend->PendingAnswerBytes(), 1029u);
  ASSERT_EQ(FT_Purge(h, FT_PURGE_RX), FT_OK);
  EXPECT_EQ(backend->PendingAnswerBytes(), 0u);
}

TEST_F(SimulatedLink, MaterialWriteReachesTheModel) {
  FT_HANDLE h = OpenGauge();
  Bytes bytes = Frame(0x05, 0, 9);
  Bytes record(52, 0);
  record[0] = 2;
  record[1] = 'O';
  record[2] = 'k';
  record[42] = 0x34;
  record[43] = 0x12;
  const std::uint16_t crc = Crc16(record.data(), 50);
  record[50] = static_cast<std::uint8_t>(crc & 0xFF);
  record[51] = static_cast<std::uint8_t>(crc >> 8);
  bytes.insert(bytes.end(), record.begin(), record.end());
  Bytes answer;
  ASSERT_EQ(Transact(h, bytes, 5, &answer), FT_OK);
  EXPECT_EQ(answer, (Bytes{0xAA, 0x05, 0xFA, 0x00, 0x09}));
  EXPECT_EQ(NameOf(backend->Model().materials[9].russian), "Ok");
  EXPECT_EQ(backend->Model().materials[9].speed, 0x1234);
}

TEST_F(SimulatedLink, UnplugFaultFailsTheNextFrameAndEverythingAfter) {
  GaugeFaults faults;
  faults.unplugAfterFrames = 2;
  Install(faults);
  FT_HANDLE h = OpenGauge();
  Bytes answer;
  EXPECT_EQ(Transact(h, Frame(0x01, 0, 0), 21, &answer), FT_OK);
  EXPECT_EQ(Transact(h, Frame(0x01, 0, 0), 21, &answer), FT_OK);
  EXPECT_NE(Transact(h, Frame(0x01, 0, 0), 21, &answer), FT_OK);
  EXPECT_NE(FT_Purge(h, 3), FT_OK);
  DWORD count = 9;
  EXPECT_EQ(FT_CreateDeviceInfoList(&count), FT_OK);
  EXPECT_EQ(count, 0u);
  EXPECT_NE(FT_Close(h), FT_OK);  // the device is gone, but the handle is released
  EXPECT_FALSE(backend->IsOpen());
  EXPECT_EQ(backend->CloseCount(), 1u);
  EXPECT_EQ(backend->FramesSeen(), 3u);
}

TEST_F(SimulatedLink, UnplugWhileOpen) {
  FT_HANDLE h = OpenGauge();
  backend->Unplug();
  Bytes answer;
  EXPECT_NE(Transact(h, Frame(0x01, 0, 0), 21, &answer), FT_OK);
  FT_HANDLE again = nullptr;
  EXPECT_EQ(FT_Close(h), FT_IO_ERROR);
  EXPECT_EQ(FT_Open(0, &again), FT_DEVICE_NOT_FOUND);
}

TEST_F(SimulatedLink, UnplugFromAnotherThreadEndsARunningSession) {
  FT_HANDLE h = OpenGauge();
  FT_STATUS failure = FT_OK;
  std::size_t transfers = 0;
  std::atomic<bool> done = false;
  std::thread worker([&] {
    Bytes answer;
    while (failure == FT_OK && transfers < 1'000'000) {
      failure = Transact(h, Frame(0x03, 0, static_cast<std::uint8_t>(transfers % 200)), 29, &answer);
      if (failure == FT_OK && answer.size() != 29) failure = FT_OTHER_ERROR;
      ++transfers;
    }
    done = true;
  });
  while (!done && backend->FramesSeen() < 50) std::this_thread::yield();
  backend->Unplug();
  worker.join();
  EXPECT_EQ(failure, FT_IO_ERROR);  // the worker saw the unplug, not a broken answer
  EXPECT_GE(transfers, 50u);
}

TEST_F(SimulatedLink, CountsOpensClosesAndFrames) {
  for (int i = 0; i < 3; ++i) {
    FT_HANDLE h = OpenGauge();
    Bytes answer;
    ASSERT_EQ(Transact(h, Frame(0x02, 0, 0), 209, &answer), FT_OK);
    ASSERT_EQ(FT_Close(h), FT_OK);
  }
  EXPECT_EQ(backend->OpenCount(), 3u);
  EXPECT_EQ(backend->CloseCount(), 3u);
  EXPECT_EQ(backend->FramesSeen(), 3u);
  EXPECT_FALSE(backend->IsOpen());
}

TEST_F(SimulatedLink, FaultsCanChangeBetweenSessions) {
  FT_HANDLE h = OpenGauge();
  GaugeFaults silent;
  silent.silent = true;
  backend->SetFaults(silent);
  Bytes answer;
  ASSERT_EQ(Transact(h, Frame(0x01, 0, 0), 5, &answer), FT_OK);
  EXPECT_TRUE(answer.empty());
  backend->SetFaults({});
  ASSERT_EQ(Transact(h, Frame(0x01, 0, 0), 5, &answer), FT_OK);
  EXPECT_EQ(answer.size(), 5u);
}

}  // namespace
}  // namespace rz47::sim
