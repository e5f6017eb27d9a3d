#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;

// A font as the editor applies it: HTML sizes 1 to 7 (0 none), colour as "#RRGGBB" ("" none).
struct FontChoice
{
    QString family;
    int size = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QString colour;

    bool operator==(const FontChoice&) const = default;
};

// The font dialog of the description editor and the style sheet editor: the families of the
// font-name list, the seven sizes of the size list, the three styles and a colour.
class FontDialog : public QDialog
{
    Q_OBJECT

public:
    explicit FontDialog(const FontChoice& initial, QWidget* parent = nullptr);

    FontChoice Choice() const;

    // Asks the user; nullopt when cancelled. Tests answer through SetAsker.
    static std::optional<FontChoice> Ask(const FontChoice& initial, QWidget* parent = nullptr);
    using Asker = std::function<std::optional<FontChoice>(const FontChoice&)>;
    static void SetAsker(Asker asker);

private:
    void ChooseColour();
    void ShowColour();

    QComboBox* m_family;
    QComboBox* m_size;
    QCheckBox* m_bold;
    QCheckBox* m_italic;
    QCheckBox* m_underline;
    QLabel* m_colourSample;
    QString m_colour;
};
