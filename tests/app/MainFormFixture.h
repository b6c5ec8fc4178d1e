#pragma once
// The main window made and shown the way the program does, with its
// settings file beside the test's page files, activated, and freed after
// each test; what goes to the error box is caught.
#include "app/MainForm.h"
#include "settings/FormStorage.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace testing_support {

class MainFormFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = new TForm1(Application);
        Form->FormStorage1->SetIniFileName(Dir.File("Quiverleaf.ini"));
        BeforeShow();
        Form->ShowForm();
        Activate(Form->Handle());
        Pump(30);
    }
    void TearDown() override { delete Form; }
    // Runs on the new window before it is first shown.
    virtual void BeforeShow() {}

    TempDir Dir;
    ErrorCatcher Errors;
    TForm1* Form = nullptr;
};

} // namespace testing_support
