// Modal forms ended from handlers, Synchronize while a modal form runs and in WaitFor,
// an exception from an event handler reaching the default box, and the program's other
// windows disabled while a box waits.
#include <gtest/gtest.h>

#include <algorithm>

#include "UiTestHelpers.h"
#include "ui/Dialogs.h"
#include "ui/Exceptions.h"
#include "ui/ExtCtrls.h"
#include "ui/StdCtrls.h"
#include "ui/Threads.h"

namespace {

class FunctionThread : public TThread {
public:
    explicit FunctionThread(std::function<void(FunctionThread&)> body) : body_(std::move(body)) {}
    ~FunctionThread() override { TerminateAndWait(); }
    void Sync(const std::function<void()>& method) { Synchronize(method); }

protected:
    void Execute() override { body_(*this); }

private:
    std::function<void(FunctionThread&)> body_;
};

} // namespace

TEST(ModalForms, ShowModalReturnsTheResultSetByATimerHandler)
{
    TestForm f;
    auto* timer = new TTimer(f.form);
    timer->SetInterval(1);
    timer->OnTimer = [&](TObject*) { f->ModalResult = mrRetry; };
    EXPECT_EQ(f->ShowModal(), mrRetry);
    EXPECT_FALSE(f->Visible());
    EXPECT_FALSE(f->IsModal());
}

TEST(ModalForms, CloseFromAHandlerEndsWithCancelUnlessCloseQueryRefuses)
{
    TestForm f;
    auto* timer = new TTimer(f.form);
    timer->SetInterval(1);
    int ticks = 0, queries = 0;
    timer->OnTimer = [&](TObject*) {
        ++ticks;
        f->Close();
    };
    f->OnCloseQuery = [&](TObject*, bool& canClose) {
        ++queries;
        canClose = queries >= 3;
    };
    EXPECT_EQ(f->ShowModal(), mrCancel);
    EXPECT_EQ(queries, 3);
    EXPECT_EQ(ticks, 3);
}

TEST(ModalForms, ButtonWithModalResultEndsTheModalLoop)
{
    TestForm f;
    auto* button = new TButton(f.form);
    button->SetParent(f.form);
    button->ModalResult = mrOk;
    f->OnShow = [&](TObject*) { PostMessageW(button->Handle(), BM_CLICK, 0, 0); };
    EXPECT_EQ(f->ShowModal(), mrOk);
}

TEST(Threads, SynchronizeRunsOnTheMainThreadWhileAModalFormIsShown)
{
    TestForm f;
    DWORD mainId = GetCurrentThreadId(), ranOn = 0;
    FunctionThread worker([&](FunctionThread& self) {
        self.Sync([&] {
            ranOn = GetCurrentThreadId();
            f->ModalResult = mrOk;
        });
    });
    f->OnShow = [&](TObject*) { worker.Start(); };
    EXPECT_EQ(f->ShowModal(), mrOk);
    worker.WaitFor();
    EXPECT_EQ(ranOn, mainId);
}

TEST(Threads, WaitForOnTheMainThreadServesSynchronize)
{
    DWORD mainId = GetCurrentThreadId();
    std::vector<DWORD> ranOn;
    FunctionThread worker([&](FunctionThread& self) {
        for (int i = 0; i < 3; ++i)
            self.Sync([&] { ranOn.push_back(GetCurrentThreadId()); });
        self.ReturnValue = 7;
    });
    EXPECT_EQ(worker.Handle(), nullptr);  // nothing runs before Start
    worker.Start();
    EXPECT_EQ(worker.WaitFor(), 7);
    EXPECT_EQ(ranOn, std::vector<DWORD>(3, mainId));
}

TEST(Threads, ExceptionInASynchronizedMethodReachesTheWorker)
{
    std::string caught;
    FunctionThread worker([&](FunctionThread& self) {
        try {
            self.Sync([] { throw Exception("main side failed"); });
        } catch (const Exception& e) {
            caught = e.Message;
        }
    });
    worker.Start();
    worker.WaitFor();
    EXPECT_EQ(caught, "main side failed");
}

TEST(Exceptions, EscapingAnEventHandlerShowsTheDefaultStopBox)
{
    RecordingDialogs dialogs;
    TestForm f;
    f->Show();
    auto* button = new TButton(f.form);
    button->SetParent(f.form);
    button->OnClick = [](TObject*) { throw Exception("Файл не найден"); };
    SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Файл не найден.");
    EXPECT_EQ(dialogs.boxes[0].flags & MB_ICONMASK, static_cast<unsigned>(MB_ICONSTOP));
    EXPECT_TRUE(button->HandleAllocated());  // the program goes on
}

TEST(Exceptions, AMessageBoxOrTheDefaultBoxDisablesTheProgramsOtherWindowsWhileItWaits)
{
    TestForm first, second;
    first->Show();
    second->Show();
    // Notes, for each box, whether a window other than its owner still took input.
    struct WatchingDialogs : RecordingDialogs {
        std::vector<HWND> windows;
        std::vector<bool> othersEnabled;
        int ShowMessageBox(void* owner, const std::string& text, const std::string& caption, unsigned flags) override
        {
            for (HWND w : windows)
                if (w != owner)
                    othersEnabled.push_back(IsWindowEnabled(w) != FALSE);
            return RecordingDialogs::ShowMessageBox(owner, text, caption, flags);
        }
    } dialogs;
    dialogs.windows = {first->Handle(), second->Handle()};
    ShowMessageBox("Сценарий уже содержит максимально допустимое количество циклов (255)!", "Предупреждение",
                   MB_OK | MB_ICONEXCLAMATION);
    auto* button = Place<TButton>(first.form, 10, 10, 80, 24);
    button->OnClick = [](TObject*) { throw Exception("Файл не найден"); };
    SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    ASSERT_GE(dialogs.othersEnabled.size(), 2u);
    EXPECT_EQ(std::count(dialogs.othersEnabled.begin(), dialogs.othersEnabled.end(), true), 0);
    EXPECT_TRUE(IsWindowEnabled(first->Handle()));
    EXPECT_TRUE(IsWindowEnabled(second->Handle()));
}
