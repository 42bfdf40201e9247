// Modal forms ended from handlers, Synchronize while a modal form runs and in WaitFor,
// and an exception from an event handler reaching the default box.
#include <gtest/gtest.h>

#include "UiTestHelpers.h"
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
