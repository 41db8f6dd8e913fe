#pragma once

#include <string>
#include <vector>

namespace kelvo_layers {

/// A class, struct or union named at namespace scope: defined there, or only declared ahead.
struct TypeDeclaration {
    /// With its namespaces, "kelvo::sim::Desktop"; an unnamed namespace reads "(anonymous)".
    std::string type;
    int line = 0;
    /// The definition, with its body; false for a declaration ahead (`class X;`).
    bool defines = false;

    bool operator==(const TypeDeclaration&) const = default;
};

/// The classes, structs and unions one source text names at namespace scope, in the order
/// written. Comments, literals and preprocessor lines are passed over; nested types, types
/// local to a function, specializations and enumerations are not counted.
class TypeDeclarations {
  public:
    static std::vector<TypeDeclaration> of(const std::string& text);

  private:
    struct Token {
        std::string text;
        int line = 0;
    };
    /// What an open brace began.
    enum class Scope { namespaceBody, linkage, other };

    explicit TypeDeclarations(const std::string& text) : text_(text) {}

    std::vector<Token> tokens();
    void skipPreprocessorLine();
    void skipComment();
    void skipQuoted(char quote);
    void skipRawString();
    std::string word();
    std::string number();

    void read(const std::vector<Token>& all);
    void open();
    /// What the statement before an open brace at namespace scope begins; a type's definition
    /// is noted.
    Scope opening();
    void enterNamespace();
    void close();
    void endStatement();
    /// Where the class key of a type's head would stand: after a template header, if any.
    std::size_t headStart() const;
    bool atNamespaceScope() const { return otherDepth_ == 0; }
    std::string qualified(const std::string& name) const;

    const std::string& text_;
    std::size_t at_ = 0;
    int line_ = 1;

    std::vector<Token> statement_;
    std::vector<Scope> scopes_;
    /// The names each open namespace body added to the path, innermost last.
    std::vector<std::size_t> namesAdded_;
    std::vector<std::string> path_;
    int otherDepth_ = 0;
    std::vector<TypeDeclaration> found_;
};

}  // namespace kelvo_layers
