#include "TypeDeclarations.h"

#include <algorithm>
#include <cctype>

namespace kelvo_layers {

namespace {

/// Stands for every string and character literal: only its place in a statement matters.
constexpr const char* literal = "\"\"";
constexpr const char* anonymous = "(anonymous)";

bool isWordStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}

bool isWordPart(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

bool isClassKey(const std::string& word) {
    return word == "class" || word == "struct" || word == "union";
}

bool isName(const std::string& word) {
    return !word.empty() && isWordStart(word.front()) && !isClassKey(word);
}

/// The prefixes of a string or character literal: u8"…", L'…', R"(…)", u8R"(…)".
bool isLiteralPrefix(const std::string& word) {
    static const std::vector<std::string> prefixes = {"u8", "u", "U", "L"};
    const std::string plain =
        !word.empty() && word.back() == 'R' ? word.substr(0, word.size() - 1) : word;
    return plain.empty() || std::find(prefixes.begin(), prefixes.end(), plain) != prefixes.end();
}

}  // namespace

std::vector<TypeDeclaration> TypeDeclarations::of(const std::string& text) {
    TypeDeclarations reading(text);
    reading.read(reading.tokens());
    return std::move(reading.found_);
}

// ---- Tokens ------------------------------------------------------------------------------

std::vector<TypeDeclarations::Token> TypeDeclarations::tokens() {
    std::vector<Token> all;
    bool lineStart = true;
    while (at_ < text_.size()) {
        const char c = text_[at_];
        const int line = line_;
        if (c == '\n') {
            ++line_;
            ++at_;
            lineStart = true;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            ++at_;
        } else if (lineStart && c == '#') {
            skipPreprocessorLine();
        } else if (text_.compare(at_, 2, "//") == 0 || text_.compare(at_, 2, "/*") == 0) {
            skipComment();
        } else {
            lineStart = false;
            if (c == '"' || c == '\'') {
                skipQuoted(c);
                all.push_back({literal, line});
            } else if (isWordStart(c)) {
                std::string w = word();
                const bool quoted = at_ < text_.size() && (text_[at_] == '"' || text_[at_] == '\'');
                if (quoted && isLiteralPrefix(w)) {
                    if (w.back() == 'R' && text_[at_] == '"') {
                        skipRawString();
                    } else {
                        skipQuoted(text_[at_]);
                    }
                    w = literal;
                }
                all.push_back({std::move(w), line});
            } else if (std::isdigit(static_cast<unsigned char>(c))) {
                all.push_back({number(), line});
            } else if (text_.compare(at_, 2, "::") == 0) {
                all.push_back({"::", line});
                at_ += 2;
            } else {
                all.push_back({std::string(1, c), line});
                ++at_;
            }
        }
    }
    return all;
}

void TypeDeclarations::skipPreprocessorLine() {
    // A backslash at the end of a line carries the directive on to the next.
    while (at_ < text_.size() && text_[at_] != '\n') {
        if (text_[at_] == '\\' && at_ + 1 < text_.size() && text_[at_ + 1] == '\n') {
            ++line_;
            ++at_;
        } else if (text_.compare(at_, 2, "/*") == 0) {
            skipComment();
            continue;
        }
        ++at_;
    }
}

void TypeDeclarations::skipComment() {
    if (text_.compare(at_, 2, "//") == 0) {
        at_ = std::min(text_.find('\n', at_), text_.size());
        return;
    }
    const std::size_t end = text_.find("*/", at_ + 2);
    const std::size_t stop = end == std::string::npos ? text_.size() : end + 2;
    line_ += static_cast<int>(std::count(text_.begin() + at_, text_.begin() + stop, '\n'));
    at_ = stop;
}

void TypeDeclarations::skipQuoted(char quote) {
    ++at_;
    while (at_ < text_.size() && text_[at_] != quote && text_[at_] != '\n') {
        at_ += text_[at_] == '\\' ? 2 : 1;
    }
    ++at_;
}

void TypeDeclarations::skipRawString() {
    const std::size_t open = text_.find('(', at_);
    if (open == std::string::npos) {
        at_ = text_.size();
        return;
    }
    const std::string close = ")" + text_.substr(at_ + 1, open - at_ - 1) + "\"";
    const std::size_t end = text_.find(close, open);
    const std::size_t stop = end == std::string::npos ? text_.size() : end + close.size();
    line_ += static_cast<int>(std::count(text_.begin() + at_, text_.begin() + stop, '\n'));
    at_ = stop;
}

std::string TypeDeclarations::word() {
    const std::size_t start = at_;
    while (at_ < text_.size() && isWordPart(text_[at_]))
        ++at_;
    return text_.substr(start, at_ - start);
}

std::string TypeDeclarations::number() {
    // Digit separators (1'000) and exponents (1e-3) belong to the number.
    const std::size_t start = at_;
    while (at_ < text_.size()) {
        const char c = text_[at_];
        const bool sign =
            (c == '+' || c == '-') && std::string("eEpP").find(text_[at_ - 1]) != std::string::npos;
        if (!isWordPart(c) && c != '.' && c != '\'' && !sign) break;
        ++at_;
    }
    return text_.substr(start, at_ - start);
}

// ---- Scopes and statements -----------------------------------------------------------------

void TypeDeclarations::read(const std::vector<Token>& all) {
    for (const Token& token : all) {
        if (token.text == "{") {
            open();
        } else if (token.text == "}") {
            close();
        } else if (token.text == ";") {
            endStatement();
        } else {
            statement_.push_back(token);
        }
    }
}

void TypeDeclarations::open() {
    const Scope scope = atNamespaceScope() ? opening() : Scope::other;
    scopes_.push_back(scope);
    if (scope == Scope::other) ++otherDepth_;
    statement_.clear();
}

TypeDeclarations::Scope TypeDeclarations::opening() {
    if (std::any_of(statement_.begin(), statement_.end(),
                    [](const Token& t) { return t.text == "namespace"; })) {
        enterNamespace();
        return Scope::namespaceBody;
    }
    if (statement_.size() == 2 && statement_[0].text == "extern" && statement_[1].text == literal) {
        return Scope::linkage;
    }
    // `struct X {`, `class X final : public Y {`; not `struct hash<X> {`.
    const std::size_t head = headStart();
    if (head + 1 < statement_.size() && isClassKey(statement_[head].text) &&
        isName(statement_[head + 1].text) &&
        (head + 2 == statement_.size() || statement_[head + 2].text != "<")) {
        found_.push_back(
            {qualified(statement_[head + 1].text), statement_[head].line, /*defines=*/true});
    }
    return Scope::other;
}

void TypeDeclarations::enterNamespace() {
    // `namespace a::b {`, `inline namespace v1 {`, `namespace {`.
    std::size_t added = 0;
    for (const Token& t : statement_) {
        if (isName(t.text) && t.text != "namespace" && t.text != "inline") {
            path_.push_back(t.text);
            ++added;
        }
    }
    if (added == 0) {
        path_.push_back(anonymous);
        added = 1;
    }
    namesAdded_.push_back(added);
}

void TypeDeclarations::close() {
    statement_.clear();
    if (scopes_.empty()) return;
    const Scope scope = scopes_.back();
    scopes_.pop_back();
    if (scope == Scope::other) {
        --otherDepth_;
    } else if (scope == Scope::namespaceBody) {
        path_.resize(path_.size() - namesAdded_.back());
        namesAdded_.pop_back();
    }
}

void TypeDeclarations::endStatement() {
    const std::size_t head = headStart();
    if (atNamespaceScope() && statement_.size() == head + 2 && isClassKey(statement_[head].text) &&
        isName(statement_[head + 1].text)) {
        found_.push_back(
            {qualified(statement_[head + 1].text), statement_[head].line, /*defines=*/false});
    }
    statement_.clear();
}

std::size_t TypeDeclarations::headStart() const {
    if (statement_.empty() || statement_[0].text != "template") return 0;
    int depth = 0;
    for (std::size_t i = 1; i < statement_.size(); ++i) {
        if (statement_[i].text == "<") ++depth;
        if (statement_[i].text == ">" && --depth == 0) return i + 1;
    }
    return statement_.size();
}

std::string TypeDeclarations::qualified(const std::string& name) const {
    std::string text;
    for (const std::string& part : path_)
        text += part + "::";
    return text + name;
}

}  // namespace kelvo_layers
