#include "forms/form.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "forms/lembrete_form.h"
#include "forms/list_form.h"
#include "store/cp1252.h"

namespace tavo::forms {

Form::Form(Application& app, WindowKind kind) : app_(app), kind_(kind) { app_.windows_.push_back(this); }

Form::~Form() { std::erase(app_.windows_, this); }

void Form::Guarded(const std::function<void()>& handler) const {
  try {
    handler();
  } catch (const StoreStopped&) {
  } catch (const std::exception& e) {
    app_.ShowGeneralError(this, e.what());
  }
}

Store& Form::store() const { return app_.store(); }

Application::Application(Desktop& desktop, Store& store) : desktop_(desktop), store_(store) {
  store_.Hooks.RefreshList = [this] { RefreshList(); };
  store_.Hooks.Notice = [this](const std::string& message) {
    desktop_.ShowMessage(nullptr, Cp1252ToUtf8(message), BoxIcon::Information, BoxModality::Task);
  };
}

Application::~Application() {
  store_.Hooks.RefreshList = nullptr;
  store_.Hooks.Notice = nullptr;
}

Form& Application::OpenWindowOnce(WindowKind kind) {
  for (Form* form : windows_) {
    if (form->Kind() == kind) {
      form->View().BringToFront();
      return *form;
    }
  }
  Form& form = desktop_.CreateWindow(kind);
  desktop_.RestoreApplication();
  form.View().BringToFront();
  return form;
}

void Application::CloseReminderWindows() {
  // A copy: a closing window may leave the list at once in some front-end.
  const std::vector<Form*> windows = windows_;
  for (Form* form : windows)
    if (form->Kind() == WindowKind::Lembrete) form->View().Close();
}

void Application::ShowLembrete(int32_t position, uint8_t mode) {
  if (position >= store_.Lembretes.Count) return;
  auto& window = static_cast<LembreteForm&>(desktop_.CreateWindow(WindowKind::Lembrete));
  desktop_.RestoreApplication();
  window.ReminderIndex = position;
  window.Mode = mode;
  window.View().BringToFront();
}

bool Application::IsLembreteOpen(int32_t id) const {
  for (const Form* form : windows_) {
    if (form->Kind() != WindowKind::Lembrete) continue;
    const auto* reminder = static_cast<const LembreteForm*>(form);
    if ((reminder->Mode == LembreteForm::kModeAlert || reminder->Mode == LembreteForm::kModeAlter) &&
        reminder->Reminder.Id == id)
      return true;
  }
  return false;
}

void Application::SecondaryWindowClosing() {
  if (windows_.size() == 2 && !MainWindowShown) desktop_.MinimizeApplication();
}

void Application::RefreshList() {
  for (Form* form : windows_) {
    if (form->Kind() != WindowKind::List) continue;
    auto* list = static_cast<ListForm*>(form);
    if (list->ListedEntries.Count > 0) list->bListarClick();
    return;
  }
}

void Application::ShowGeneralError(const Form* owner, std::string text) const {
  desktop_.ShowMessage(owner, GeneralErrorText(std::move(text)), kGeneralErrorBox.icon, kGeneralErrorBox.modality);
}

std::string GeneralErrorText(std::string what) {
  if (what.empty() || what.back() != '.') what += '.';
  return what;
}

BoxStyle StoreFailureBox(BoxKind kind) {
  return {BoxIcon::Error, kind == BoxKind::SystemModal ? BoxModality::System : BoxModality::Task};
}

}  // namespace tavo::forms
