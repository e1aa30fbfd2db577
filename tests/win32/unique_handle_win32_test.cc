#include "platform/win32/unique_handle_win32.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/win32/com_ptr_win32.h"

namespace veltrane {
namespace {

std::vector<int> closed;

struct CountingTraits {
  using Handle = int;
  static Handle Invalid() { return -1; }
  static bool IsValid(Handle handle) { return handle != -1; }
  static void Close(Handle handle) { closed.push_back(handle); }
};
using CountingHandle = UniqueResource<CountingTraits>;

TEST(UniqueHandleWin32Test, EveryHandleIsClosedExactlyOnce) {
  closed.clear();
  {
    CountingHandle a(1);
    CountingHandle b(std::move(a));
    EXPECT_FALSE(a.IsValid());
    CountingHandle c(2);
    c = std::move(b);  // closes 2, takes 1
    EXPECT_EQ(closed, std::vector<int>{2});
    c = std::move(c);  // self-move keeps it
    EXPECT_EQ(c.Get(), 1);
    *c.Receive() = 3;  // closes 1 before taking the new one
    EXPECT_EQ(c.Release(), 3);
    CountingHandle none;
  }
  EXPECT_EQ(closed, (std::vector<int>{2, 1}));
}

TEST(UniqueHandleWin32Test, FailedOpensAreNotClosed) {
  UniqueHandle file(CreateFileW(L"Z:\\no\\such\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(file);  // INVALID_HANDLE_VALUE
  UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, 0));
  EXPECT_FALSE(process);  // NULL
}

class CountingUnknown : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    AddRef();
    *out = this;
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
  ULONG references = 1;
};

TEST(UniqueHandleWin32Test, ComPointersReleaseTheirOwnReference) {
  CountingUnknown object;
  {
    ComPtr<IUnknown> first;
    *first.ReceiveVoid() = &object;
    ComPtr<IUnknown> second = first.As<IUnknown>(IID_IUnknown);
    EXPECT_EQ(object.references, 2u);
    ComPtr<IUnknown> moved(std::move(second));
    EXPECT_EQ(object.references, 2u);
  }
  EXPECT_EQ(object.references, 0u);
}

}  // namespace
}  // namespace veltrane
