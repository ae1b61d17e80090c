#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "form/MainFormView.h"
#include "form/UserDialogs.h"

namespace vantorel::test {

// A window without a toolkit, with its boxes: keeps what the core shows and
// records what it asks.
struct FakeView : MainFormView, UserDialogs {
    std::map<Edit, std::string> edits{{Edit::TOEdit, "120"}};
    std::map<Control, bool> enabled;
    int progress = 0;
    int tab = -1;
    std::vector<std::string> rows;  // captions
    int selected = -1;
    int preference = 0;
    bool timer = false;
    int editSets = 0;
    int pumps = 0;
    int closes = 0;
    std::vector<std::string> messages, errors, opened;
    std::vector<std::string> questions;  // "title: text"
    bool answer = false;
    std::optional<std::string> picked;
    std::function<void()> onError;  // runs inside the error box, as its message loop would

    std::string editText(Edit edit) const override {
        const auto it = edits.find(edit);
        return it == edits.end() ? std::string() : it->second;
    }
    void setEditText(Edit edit, const std::string& text) override {
        ++editSets;
        edits[edit] = text;
    }
    void setControlEnabled(Control control, bool on) override { enabled[control] = on; }
    void setProgressPosition(int position) override { progress = position; }
    void selectTab(int index) override { tab = index; }
    void clearRows() override { rows.clear(); }
    void addRow(const std::string& caption, const std::string&, const std::string&) override {
        rows.push_back(caption);
    }
    int selectedRow() const override { return selected; }
    std::string selectedCaption() const override { return selected < 0 ? "" : rows.at(selected); }
    int viewingPreference() const override { return preference; }
    void setViewingPreference(int index) override { preference = index; }
    void showMessage(const std::string& text) override { messages.push_back(text); }
    bool askYesNo(const std::string& text, const std::string& title) override {
        questions.push_back(title + ": " + text);
        return answer;
    }
    void showError(const std::string& message) override {
        errors.push_back(message);
        if (onError) onError();
    }
    void openDocument(const std::string& target) override { opened.push_back(target); }
    std::optional<std::string> runFolderPicker() override { return picked; }
    void setTimer1Enabled(bool on) override { timer = on; }
    void closeWindow() override { ++closes; }
    void processEvents() override { ++pumps; }
};

}  // namespace vantorel::test
