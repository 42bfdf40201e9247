// The port selection dialog and its probe over the ports of the pty runner: COM21 and
// COM22 answer, COM23 does not exist, COM24 refuses its open (as a port another program
// holds does).
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "SerialTestHelpers.h"
#include "serial/SioSelCom.h"

namespace {

std::vector<std::string> Listed(TComSelectForm& form)
{
    std::vector<std::string> items;
    for (int i = 0; i < form.PortsComboBox->Items().Count(); ++i)
        items.push_back(form.PortsComboBox->Items()[i]);
    return items;
}

bool Has(const std::vector<std::string>& items, const std::string& name)
{
    return std::find(items.begin(), items.end(), name) != items.end();
}

struct Switches {
    ~Switches()
    {
        UseDispatcherForAvail = true;
        ShowPortsInUse = true;
    }
};

TEST(SerialPortDialog, ListsTheAnsweringPortsInAscendingOrder)
{
    Switches restore;
    for (bool viaDispatcher : {true, false}) {
        UseDispatcherForAvail = viaDispatcher;
        TComSelectForm form(nullptr);
        std::vector<std::string> items = Listed(form);
        EXPECT_TRUE(Has(items, "COM21") && Has(items, "COM22")) << "via dispatcher " << viaDispatcher;
        EXPECT_TRUE(Has(items, "COM24")) << "in use, but there";
        EXPECT_FALSE(Has(items, "COM23"));
        std::vector<int> numbers;
        for (const std::string& item : items)
            numbers.push_back(std::stoi(item.substr(3)));
        EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end()));
        EXPECT_EQ(form.PortsComboBox->ItemIndex(), 0);
        EXPECT_EQ(form.SelectedCom(), items[0]);
        form.PortsComboBox->SetItemIndex(static_cast<int>(std::find(items.begin(), items.end(), "COM22") - items.begin()));
        EXPECT_EQ(form.SelectedComNum(), 22) << "two digits whole";
    }
    ShowPortsInUse = false;
    EXPECT_FALSE(IsPortAvailable(RefusedPort));
    EXPECT_TRUE(IsPortAvailable(EchoPort));
    EXPECT_FALSE(IsPortAvailable(0));
}

TEST(SerialPortDialog, NothingSelectedHandsNoNumberOver)
{
    TComSelectForm form(nullptr);
    form.PortsComboBox->SetItemIndex(-1);
    EXPECT_EQ(form.SelectedCom(), "");
    EXPECT_EQ(form.SelectedComNum(), 0);
    EXPECT_EQ(form.Caption(), "Select Port");
    form.HandleNeeded();
    EXPECT_EQ(form.ClientWidth(), 220);
    EXPECT_EQ(form.ClientHeight(), 131);
    EXPECT_EQ(form.AbortBtn->ModalResult, mrAbort);
    EXPECT_TRUE(form.OkBtn->Default());
}

} // namespace
