#include "platform/ui/qt/control_widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QSlider>
#include <QTableWidget>

#include "platform/ui/control_messages.h"
#include "platform/ui/string_resource.h"
#include "platform/ui/user_acts.h"
#include "platform/ui/window.h"

namespace {

QStringList ToQt(const std::vector<std::u16string>& texts) {
    QStringList list;
    for (const std::u16string& text : texts) list << QString::fromStdU16String(text);
    return list;
}

// Holds the common parts: the control's handle and id and the act runner.
class Base : public ControlWidget {
protected:
    Base(const ControlSnapshot& control, const ControlContext& context)
        : m_control(control.handle),
          m_id(control.id),
          m_dialog(context.dialog),
          m_run(context.run) {}

    void Act(const std::function<std::string(HWND dialog, int id)>& act) {
        const HWND dialog = m_dialog;
        const int id = m_id;
        m_run(m_control, [&act, dialog, id] { return act(dialog, id); });
    }

private:
    HWND m_control;
    int m_id;
    HWND m_dialog;
    ActRunner m_run;
};

// A multi-line button's text broken at blanks into lines that fit its
// width, as Windows wraps it; a single word wider than the button stays whole.
QString WrapToWidth(const QString& text, const QFontMetrics& metrics, int width) {
    QStringList lines;
    QString line;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
        const QString longer = line.isEmpty() ? word : line + u' ' + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
            lines << line;
            line = word;
        } else {
            line = longer;
        }
    }
    if (!line.isEmpty()) lines << line;
    return lines.join(u'\n');
}

class PushButton final : public Base {
public:
    PushButton(const ControlSnapshot& control, const ControlContext& context)
        : Base(control, context),
          m_button(new QPushButton(context.parent)),
          m_multiLine((control.style & BS_MULTILINE) != 0) {
        m_button->setAutoDefault(false);  // Enter goes to the dialog's own rule
        m_button->setDefault(control.kind == ControlKind::DefPushButton);
        QObject::connect(m_button, &QPushButton::clicked, [this] { Act(PressButton); });
    }
    QWidget* widget() override { return m_button; }
    void Show(const ControlSnapshot& control) override {
        const QString label = LabelText(control.text, true);
        const int room = m_button->width() - 2 * m_button->fontMetrics().averageCharWidth();
        m_button->setText(
            m_multiLine && room > 0 ? WrapToWidth(label, m_button->fontMetrics(), room) : label);
    }

private:
    QPushButton* m_button;
    bool m_multiLine;
};

class TickBox final : public Base {
public:
    TickBox(const ControlSnapshot& control, const ControlContext& context)
        : Base(control, context), m_radio(control.kind == ControlKind::RadioButton) {
        if (m_radio) {
            auto* radio = new QRadioButton(context.parent);
            radio->setAutoExclusive(false);  // the model unticks the rest of the group
            m_button = radio;
        } else {
            m_button = new QCheckBox(context.parent);
        }
        QObject::connect(m_button, &QAbstractButton::clicked, [this](bool checked) {
            Act([this, checked](HWND dialog, int id) {
                return TickButton(dialog, id, m_radio || checked);
            });
        });
    }
    QWidget* widget() override { return m_button; }
    void Show(const ControlSnapshot& control) override {
        const QSignalBlocker blocker(m_button);
        m_button->setText(LabelText(control.text, true));
        m_button->setChecked(control.check == BST_CHECKED);
    }

private:
    bool m_radio;
    QAbstractButton* m_button;
};

class Label final : public Base {
public:
    Label(const ControlSnapshot& control, const ControlContext& context)
        : Base(control, context), m_label(new QLabel(context.parent)) {
        m_label->setWordWrap(true);
        const DWORD align = control.style & 0x3;
        m_label->setAlignment(Qt::AlignTop | (align == SS_CENTER ? Qt::AlignHCenter
                                              : align == 0x2     ? Qt::AlignRight
                                                                 : Qt::AlignLeft));
    }
    QWidget* widget() override { return m_label; }
    void Show(const ControlSnapshot& control) override {
        m_label->setText(LabelText(control.text, false));
    }

private:
    QLabel* m_label;
};

class Group final : public Base {
public:
    Group(const ControlSnapshot& control, const ControlContext& context)
        : Base(control, context), m_box(new QGroupBox(context.parent)) {}
    QWidget* widget() override { return m_box; }
    void Show(const ControlSnapshot& control) override {
        m_box->setTitle(LabelText(control.text, false));
        m_box->lower();  // behind the controls it frames
    }

private:
    QGroupBox* m_box;
};

class Icon final : public Base {
public:
    Icon(const ControlSnapshot& control, const ControlContext& context)
        : Base(control, context), m_label(new QLabel(context.parent)), m_module(context.module) {
        m_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    QWidget* widget() override { return m_label; }
    void Show(const ControlSnapshot& control) override {
        if (control.text == m_shown) return;
        m_shown = control.text;
        QPixmap image;
        const IconTemplate* icon = IconImage(LoadIconW(m_module, control.text.c_str()));
        if (icon && icon->image &&
            image.loadFromData(icon->image, static_cast<uint>(icon->imageSize))) {
            m_label->setPixmap(image.scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation));
            // An icon control without a size takes the icon's, as on Windows.
            if (m_label->width() == 0 || m_label->height() == 0) m_label->resize(32, 32);
        }
    }

private:
    QLabel* m_label;
    HINSTANCE m_module;
    std::u16string m_shown;
};

class SingleLineEdit final : public Base {
public:
    SingleLineEdit(const ControlSnapshot& control, const ControlContext& context)
        : Base(control, context), m_edit(new QLineEdit(context.parent)) {
        if (control.style & ES_PASSWORD) m_edit->setEchoMode(QLineEdit::Password);
        if (control.style & ES_NUMBER) {
            m_edit->setValidator(
                new QRegularExpressionValidator(QRegularExpression("[0-9]*"), m_edit));
        }
        QObject::connect(m_edit, &QLineEdit::textEdited, [this](const QString& text) {
            Act([&text](HWND dialog, int id) {
                return TypeText(dialog, id, text.toStdU16String());
            });
        });
    }
    QWidget* widget() override { return m_edit; }
    void Show(const ControlSnapshot& control) override {
        const QSignalBlocker blocker(m_edit);
        m_edit->setReadOnly(control.style & ES_READONLY);
        const QString text = QString::fromStdU16String(control.text);
        if (m_edit->text() != text) m_edit->setText(text);
    }

private:
    QLineEdit* m_edit;
};

class MultiLineEdit final : public Base {
public:
    MultiLineEdit(const ControlSnapshot& control, const ControlContext& context)
        : Base(control, context), m_edit(new QPlainTextEdit(context.parent)) {
        QObject::connect(m_edit, &QPlainTextEdit::textChanged, [this] {
            std::u16string text = m_edit->toPlainText().toStdU16String();
            std::u16string windowsText;  // edits keep CR LF line breaks
            for (char16_t c : text) {
                if (c == u'\n') windowsText += u'\r';
                windowsText += c;
            }
            Act([&windowsText](HWND dialog, int id) { return TypeText(dialog, id, windowsText); });
        });
    }
    QWidget* widget() override { return m_edit; }
    void Show(const ControlSnapshot& control) override {
        const QSignalBlocker blocker(m_edit);
        m_edit->setReadOnly(control.style & ES_READONLY);
        std::u16string text;
        for (char16_t c : control.text)
            if (c != u'\r') text += c;
        const QString shown = QString::fromStdU16String(text);
        if (m_edit->toPlainText() != shown) m_edit->setPlainText(shown);
    }

private:
    QPlainTextEdit* m_edit;
};

// A drop-down list, or (CBS_DROPDOWN, CBS_SIMPLE) an editable combo box
// whose edit part the user types into.
class ComboBox final : public Base {
public:
    ComboBox(const ControlSnapshot& control, const ControlContext& context)
        : Base(control, context),
          m_combo(new QComboBox(context.parent)),
          m_editable(ComboHasEdit(control.style)) {
        QObject::connect(m_combo, &QComboBox::activated, [this](int index) {
            const std::u16string text = m_combo->itemText(index).toStdU16String();
            Act([&text](HWND dialog, int id) { return PickItem(dialog, id, text); });
        });
        if (!m_editable) return;
        m_combo->setEditable(true);
        m_combo->setInsertPolicy(QComboBox::NoInsert);
        m_combo->setCompleter(nullptr);  // the typed text is the text, as on Windows
        QObject::connect(m_combo->lineEdit(), &QLineEdit::textEdited, [this](const QString& text) {
            Act([&text](HWND dialog, int id) {
                return TypeText(dialog, id, text.toStdU16String());
            });
        });
    }
    QWidget* widget() override { return m_combo; }
    void Show(const ControlSnapshot& control) override {
        const QSignalBlocker blocker(m_combo);
        QLineEdit* edit = m_combo->lineEdit();
        const QString typed = edit ? edit->text() : QString();
        const int caret = edit ? edit->cursorPosition() : 0;
        if (control.items != m_items) {
            m_items = control.items;
            m_combo->clear();
            m_combo->addItems(ToQt(m_items));
        }
        if (m_combo->currentIndex() != control.selected) m_combo->setCurrentIndex(control.selected);
        const QString text = QString::fromStdU16String(control.text);
        if (!edit || edit->text() == text) return;
        // The caret stays where the user left it when the text is what they typed.
        edit->setText(text);
        edit->setCursorPosition(text == typed ? caret : static_cast<int>(text.size()));
    }

private:
    QComboBox* m_combo;
    bool m_editable;
    std::vector<std::u16string> m_items;
};

class ItemList final : public Base {
public:
    ItemList(const ControlSnapshot& control, const ControlContext& context)
        : Base(control, context), m_list(new QListWidget(context.parent)) {
        QObject::connect(m_list, &QListWidget::currentRowChanged, [this](int row) {
            if (row >= 0) Act([row](HWND dialog, int id) { return SelectRow(dialog, id, row); });
        });
        QObject::connect(m_list, &QListWidget::itemDoubleClicked, [this](QListWidgetItem* item) {
            const int row = m_list->row(item);
            Act([row](HWND dialog, int id) { return DoubleClickRow(dialog, id, row); });
        });
    }
    QWidget* widget() override { return m_list; }
    void Show(const ControlSnapshot& control) override {
        const QSignalBlocker blocker(m_list);
        if (control.items != m_items) {
            m_items = control.items;
            m_list->clear();
            m_list->addItems(ToQt(m_items));
        }
        m_list->setCurrentRow(control.selected);
    }

private:
    QListWidget* m_list;
    std::vector<std::u16string> m_items;
};

class Trackbar final : public Base {
public:
    Trackbar(const ControlSnapshot& control, const ControlContext& context)
        : Base(control, context), m_slider(new QSlider(Qt::Horizontal, context.parent)) {
        m_slider->setTickPosition(QSlider::TicksBelow);
        QObject::connect(m_slider, &QSlider::valueChanged, [this](int position) {
            Act([position](HWND dialog, int id) { return SlideTrackbar(dialog, id, position); });
        });
    }
    QWidget* widget() override { return m_slider; }
    void Show(const ControlSnapshot& control) override {
        const QSignalBlocker blocker(m_slider);
        m_slider->setRange(control.rangeMin, control.rangeMax);
        m_slider->setPageStep(control.pageSize);
        m_slider->setValue(control.position);
    }

private:
    QSlider* m_slider;
};

// A list view in report view. Double-clicks are taken from the viewport so
// that one below the rows reaches the model as row -1.
class ReportList final : public Base, public QObject {
public:
    ReportList(const ControlSnapshot& control, const ControlContext& context)
        : Base(control, context), m_table(new QTableWidget(context.parent)) {
        m_table->verticalHeader()->hide();
        m_table->horizontalHeader()->setHighlightSections(false);
        m_table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        m_table->setSelectionMode((control.style & LVS_SINGLESEL)
                                      ? QAbstractItemView::SingleSelection
                                      : QAbstractItemView::ExtendedSelection);
        m_table->setWordWrap(false);
        m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
        m_viewport = m_table->viewport();
        m_viewport->installEventFilter(this);
        QObject::connect(m_table, &QTableWidget::currentCellChanged, [this](int row) {
            if (row >= 0) Act([row](HWND dialog, int id) { return SelectRow(dialog, id, row); });
        });
    }
    QWidget* widget() override { return m_table; }
    void Show(const ControlSnapshot& control) override {
        const QSignalBlocker blocker(m_table);
        const auto extended =
            static_cast<DWORD>(SendMessageW(control.handle, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
        m_table->setShowGrid(extended & LVS_EX_GRIDLINES);
        m_fullRow = extended & LVS_EX_FULLROWSELECT;
        m_table->setSelectionBehavior(m_fullRow ? QAbstractItemView::SelectRows
                                                : QAbstractItemView::SelectItems);
        if (control.columns != m_columns || control.columnWidths != m_widths) {
            m_columns = control.columns;
            m_widths = control.columnWidths;
            m_table->setColumnCount(static_cast<int>(m_columns.size()));
            m_table->setHorizontalHeaderLabels(ToQt(m_columns));
            for (std::size_t i = 0; i < m_widths.size(); ++i) ShowColumnWidth(static_cast<int>(i));
        }
        if (control.rows != m_rows) {
            m_rows = control.rows;
            m_table->setRowCount(static_cast<int>(m_rows.size()));
            for (std::size_t row = 0; row < m_rows.size(); ++row) {
                for (std::size_t column = 0; column < m_rows[row].size(); ++column) {
                    m_table->setItem(
                        static_cast<int>(row), static_cast<int>(column),
                        new QTableWidgetItem(QString::fromStdU16String(m_rows[row][column])));
                }
            }
        }
        ShowSelection(control.selected);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The table may be half destroyed when its viewport's last events come.
        if (event->type() != QEvent::MouseButtonDblClick || watched != m_viewport) return false;
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const int row = m_table->indexAt(mouse->position().toPoint()).row();
        Act([row](HWND dialog, int id) { return DoubleClickRow(dialog, id, row); });
        return true;
    }

private:
    // A column of width 0 is not shown at all, as on Windows; its texts
    // stay in the model for the dialog to read.
    void ShowColumnWidth(int column) {
        const int width = m_widths[column];
        m_table->setColumnHidden(column, width == 0);
        if (width > 0) m_table->setColumnWidth(column, width);
    }

    // Without full-row select only the item itself shows as selected.
    void ShowSelection(int row) {
        if (row < 0) {
            m_table->clearSelection();
        } else if (m_fullRow) {
            m_table->selectRow(row);
        } else {
            m_table->selectionModel()->select(m_table->model()->index(row, 0),
                                              QItemSelectionModel::ClearAndSelect);
        }
    }

    QTableWidget* m_table;
    QWidget* m_viewport;
    bool m_fullRow = false;
    std::vector<std::u16string> m_columns;
    std::vector<int> m_widths;
    std::vector<std::vector<std::u16string>> m_rows;
};

}  // namespace

QString LabelText(const std::u16string& text, bool keepMnemonic) {
    if (keepMnemonic) return QString::fromStdU16String(text);
    std::u16string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) ++i;
        plain += text[i];
    }
    return QString::fromStdU16String(plain);
}

std::unique_ptr<ControlWidget> MakeControlWidget(const ControlSnapshot& control,
                                                 const ControlContext& context) {
    switch (control.kind) {
        case ControlKind::PushButton:
        case ControlKind::DefPushButton:
            return std::make_unique<PushButton>(control, context);
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
            return std::make_unique<TickBox>(control, context);
        case ControlKind::GroupBox:
            return std::make_unique<Group>(control, context);
        case ControlKind::Icon:
            return std::make_unique<Icon>(control, context);
        case ControlKind::Edit:
            if (control.style & ES_MULTILINE)
                return std::make_unique<MultiLineEdit>(control, context);
            return std::make_unique<SingleLineEdit>(control, context);
        case ControlKind::ComboBox:
            return std::make_unique<ComboBox>(control, context);
        case ControlKind::ListBox:
            return std::make_unique<ItemList>(control, context);
        case ControlKind::Trackbar:
            return std::make_unique<Trackbar>(control, context);
        case ControlKind::ListView:
            return std::make_unique<ReportList>(control, context);
        default:
            return std::make_unique<Label>(control, context);
    }
}
