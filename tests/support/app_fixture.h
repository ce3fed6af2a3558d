#pragma once
// A sandbox with the program's windows created as at start-up.
#include <windows.h>
#include <commctrl.h>

#include "app/aboutform.h"
#include "app/forms.h"
#include "app/utama.h"
#include "tests/support/sandbox.h"

namespace zarn::test {

// Registers the common control classes the program uses, once per process; false if
// the registration failed.
bool InitControlsOnce();

class AppTest : public SandboxTest {
 protected:
  void SetUp() override {
    InitControlsOnce();
    Seed();
    ASSERT_TRUE(CreateAllForms());
    ShowWindow(MainForm->Handle(), SW_SHOW);  // as at start-up
  }
  void TearDown() override { DestroyAllForms(); }
  // Runs before the windows are created: what the start-up scan should find.
  virtual void Seed() {}
  HWND Main(int id) const { return MainForm->Control(id); }
  void Click(HWND parent, int id);
};

}  // namespace zarn::test
