#pragma once

#include <deque>
#include <string>
#include <vector>

#include "form/UserDialogs.h"

namespace vantorel::test {

// Records what the window says and answers questions from a script (No when empty).
struct FakeDialogs : UserDialogs {
    struct Question {
        std::string text;
        std::string title;
    };
    std::vector<std::string> messages;
    std::vector<std::string> errors;
    std::vector<std::string> opened;
    std::vector<Question> questions;
    std::deque<bool> answers;

    void showMessage(const std::string& text) override { messages.push_back(text); }
    bool askYesNo(const std::string& text, const std::string& title) override {
        questions.push_back({text, title});
        if (answers.empty()) return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void showError(const std::string& message) override { errors.push_back(message); }
    void openDocument(const std::string& target) override { opened.push_back(target); }
};

}  // namespace vantorel::test
