#include "desktop/quotes/QuoteSourceDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "core/settings/Version.h"

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

std::string Trimmed(const QLineEdit* edit) {
    return edit->text().trimmed().toStdString();
}

// Grey lines under a field that say how to fill it in. They are broken by hand: a label
// that wraps itself is given the height of its widest layout and loses its last lines
// in the narrower column.
QLabel* Hint(const QString& text, QWidget* parent) {
    auto* hint = new QLabel(text, parent);
    hint->setForegroundRole(QPalette::PlaceholderText);
    hint->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return hint;
}

QPlainTextEdit* LinesEdit(const QString& example, QWidget* parent) {
    auto* edit = new QPlainTextEdit(parent);
    edit->setPlaceholderText(example);
    edit->setTabChangesFocus(true);
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Room for three lines at least: most sources need none or one.
    const int line = edit->fontMetrics().lineSpacing();
    edit->setMinimumHeight(line * 3 + 2 * edit->frameWidth() +
                           static_cast<int>(edit->document()->documentMargin() * 2) + line / 2);
    // It takes the height the other column leaves over, not its own tall default.
    edit->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    return edit;
}

// A row of a form whose field has its hint right under it. The label names the field
// itself, for the keyboard.
void AddRowWithHint(QFormLayout* form, const QString& label, QWidget* field, QLabel* hint) {
    auto* stack = new QVBoxLayout;
    stack->setSpacing(1);
    stack->addWidget(field);
    stack->addWidget(hint);
    auto* name = new QLabel(label, field->parentWidget());
    name->setBuddy(field);
    form->addRow(name, stack);
}

// Puts the cursor on one line of a lines field and selects it, so the user sees which.
void SelectLine(QPlainTextEdit* edit, int line) {
    const QTextBlock block = edit->document()->findBlockByNumber(line);
    if (!block.isValid()) {
        return;
    }
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
}

// One non-blank line of a lines field, cut in two at its first mark and trimmed.
struct SplitLine {
    int number = 0;
    QString line;
    QString name;
    QString value;
};

// The non-blank lines up to the first one with no name before `mark`, whose number goes
// in `badLine` (-1 when every line has one).
std::vector<SplitLine> SplitLines(const QPlainTextEdit* edit, QChar mark, int& badLine) {
    std::vector<SplitLine> lines;
    badLine = -1;
    const QStringList texts = edit->toPlainText().split(QLatin1Char('\n'));
    for (qsizetype number = 0; number < texts.size(); ++number) {
        const QString line = texts[number].trimmed();
        if (line.isEmpty()) {
            continue;
        }
        const qsizetype at = line.indexOf(mark);
        SplitLine split{.number = static_cast<int>(number),
                        .line = line,
                        .name = at < 0 ? QString() : line.left(at).trimmed(),
                        .value = at < 0 ? QString() : line.mid(at + 1).trimmed()};
        if (at < 0 || split.name.isEmpty()) {
            badLine = static_cast<int>(number);
            lines.push_back(std::move(split));
            return lines;
        }
        lines.push_back(std::move(split));
    }
    return lines;
}

}  // namespace

CQuoteSourceDlg::CQuoteSourceDlg(const QuoteSource& source, std::vector<std::string> otherNames,
                                 bool readOnly, QWidget* parent)
    : QDialog(parent), m_source(source), m_otherNames(std::move(otherNames)) {
    setWindowTitle(QStringLiteral("Quote Source"));

    auto* request = new QGroupBox(QStringLiteral("Request"), this);
    m_nameEdit = new QLineEdit(request);
    m_nameEdit->setObjectName(QStringLiteral("nameEdit"));
    m_urlEdit = new QLineEdit(request);
    m_urlEdit->setObjectName(QStringLiteral("urlEdit"));
    m_urlEdit->setPlaceholderText(QStringLiteral("https://example.com/quote?s={symbol}"));
    m_urlEdit->setMinimumWidth(340);
    m_separatorEdit = new QLineEdit(request);
    m_separatorEdit->setMaximumWidth(80);
    m_batchSpin = new QSpinBox(request);
    m_batchSpin->setRange(1, kLargestSourceBatch);
    m_caseBox = new QComboBox(request);
    m_caseBox->addItems(
        {QStringLiteral("As held"), QStringLiteral("Upper case"), QStringLiteral("Lower case")});
    m_prefixEdit = new QLineEdit(request);
    m_suffixEdit = new QLineEdit(request);
    m_overridesEdit = LinesEdit(QStringLiteral("BRK-B=BRK.B"), request);
    m_headersEdit = LinesEdit(QStringLiteral("X-Api-Key: your key"), request);
    m_pauseSpin = new QSpinBox(request);
    m_pauseSpin->setRange(0, kLongestSourcePause);
    m_pauseSpin->setSuffix(QStringLiteral(" s"));
    auto* requestForm = new QFormLayout(request);
    requestForm->addRow(QStringLiteral("&Name:"), m_nameEdit);
    AddRowWithHint(requestForm, QStringLiteral("&Address:"), m_urlEdit,
                   Hint(QStringLiteral("{symbol}: one symbol a request;\n"
                                       "{symbols}: several, joined by the separator"),
                        request));
    requestForm->addRow(QStringLiteral("Se&parator:"), m_separatorEdit);
    requestForm->addRow(QStringLiteral("&Batch size:"), m_batchSpin);
    requestForm->addRow(QStringLiteral("Symbol &case:"), m_caseBox);
    requestForm->addRow(QStringLiteral("P&refix:"), m_prefixEdit);
    requestForm->addRow(QStringLiteral("Su&ffix:"), m_suffixEdit);
    AddRowWithHint(requestForm, QStringLiteral("&Overrides:"), m_overridesEdit,
                   Hint(QStringLiteral("One a line: HELD=THEIRS"), request));
    AddRowWithHint(requestForm, QStringLiteral("&Headers:"), m_headersEdit,
                   Hint(QStringLiteral("One a line: Name: value"), request));
    requestForm->addRow(QStringLiteral("&Least seconds between requests:"), m_pauseSpin);

    auto* answer = new QGroupBox(QStringLiteral("Answer"), this);
    m_formatBox = new QComboBox(answer);
    m_formatBox->addItems(
        {QStringLiteral("CSV"), QStringLiteral("JSON"), QStringLiteral("Pattern")});
    m_formatHint = Hint(QString(), answer);
    m_csvHeaderBox = new QCheckBox(QStringLiteral("First line names the columns"), answer);
    m_resultsEdit = new QLineEdit(answer);
    m_resultsEdit->setPlaceholderText(QStringLiteral("empty when the answer is about one symbol"));
    m_patternEdit = new QLineEdit(answer);
    m_patternHint = Hint(QStringLiteral("POSIX extended; {symbol} stands for the symbol;\n"
                                        "the fields below are group numbers"),
                         answer);
    m_symbolField = new QLineEdit(answer);
    m_priceField = new QLineEdit(answer);
    m_timeField = new QLineEdit(answer);
    m_changeField = new QLineEdit(answer);
    m_previousCloseField = new QLineEdit(answer);
    m_currencyField = new QLineEdit(answer);
    m_answerForm = new QFormLayout(answer);
    m_answerForm->addRow(QStringLiteral("Answer &format:"), m_formatBox);
    m_answerForm->addRow(QString(), m_formatHint);
    m_answerForm->addRow(QString(), m_csvHeaderBox);
    m_answerForm->addRow(QStringLiteral("Results &array:"), m_resultsEdit);
    m_answerForm->addRow(QStringLiteral("Pa&ttern:"), m_patternEdit);
    m_answerForm->addRow(QString(), m_patternHint);
    m_answerForm->addRow(QStringLiteral("S&ymbol:"), m_symbolField);
    m_answerForm->addRow(QStringLiteral("Pr&ice:"), m_priceField);
    m_answerForm->addRow(QStringLiteral("Ti&me:"), m_timeField);
    m_answerForm->addRow(QStringLiteral("C&hange:"), m_changeField);
    m_answerForm->addRow(QStringLiteral("Pre&vious close:"), m_previousCloseField);
    m_answerForm->addRow(QStringLiteral("C&urrency:"), m_currencyField);

    auto* history = new QGroupBox(QStringLiteral("Daily History"), this);
    m_historyUrlEdit = new QLineEdit(history);
    m_historyUrlEdit->setPlaceholderText(QStringLiteral("empty when the source has none"));
    m_historyFormatBox = new QComboBox(history);
    m_historyFormatBox->addItems({QStringLiteral("CSV"), QStringLiteral("JSON")});
    m_historyDateEdit = new QLineEdit(history);
    m_historyDateEdit->setPlaceholderText(QStringLiteral("column, or pointer to an array"));
    m_historyCloseEdit = new QLineEdit(history);
    m_historyCloseEdit->setPlaceholderText(QStringLiteral("column, or pointer to an array"));
    auto* historyForm = new QFormLayout(history);
    AddRowWithHint(historyForm, QStringLiteral("History a&ddress:"), m_historyUrlEdit,
                   Hint(QStringLiteral("{symbol}; {from}, {to}: seconds since 1970;\n"
                                       "{fromDate}, {toDate}: YYYYMMDD"),
                        history));
    historyForm->addRow(QStringLiteral("History f&ormat:"), m_historyFormatBox);
    historyForm->addRow(QStringLiteral("Dat&e field:"), m_historyDateEdit);
    historyForm->addRow(QStringLiteral("C&lose field:"), m_historyCloseEdit);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_okButton = buttons->button(QDialogButtonBox::Ok);
    m_okButton->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CQuoteSourceDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CQuoteSourceDlg::reject);

    auto* right = new QVBoxLayout;
    right->addWidget(answer);
    right->addWidget(history);
    right->addStretch(1);
    auto* columns = new QHBoxLayout;
    columns->addWidget(request, 1);
    columns->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    if (readOnly) {
        auto* note = new QLabel(
            QStringLiteral("Ready-made definitions cannot be changed; copy one to change it."),
            this);
        note->setObjectName(QStringLiteral("readOnlyNote"));
        layout->addWidget(note);
    }
    layout->addLayout(columns);
    layout->addWidget(buttons);

    FillFields(source);
    ShowFormat();
    connect(m_formatBox, &QComboBox::currentIndexChanged, this, &CQuoteSourceDlg::ShowFormat);
    if (readOnly) {
        MakeReadOnly();
    }
    m_nameEdit->setFocus();
}

CQuoteSourceDlg::~CQuoteSourceDlg() = default;

void CQuoteSourceDlg::FillFields(const QuoteSource& source) {
    m_nameEdit->setText(Text(source.name));
    m_urlEdit->setText(Text(source.url));
    m_separatorEdit->setText(Text(source.separator));
    m_batchSpin->setValue(source.batchSize);
    m_caseBox->setCurrentIndex(static_cast<int>(source.symbolCase));
    m_prefixEdit->setText(Text(source.prefix));
    m_suffixEdit->setText(Text(source.suffix));
    QStringList overrides;
    for (const auto& [held, theirs] : source.overrides) {
        overrides << Text(held) + QLatin1Char('=') + Text(theirs);
    }
    m_overridesEdit->setPlainText(overrides.join(QLatin1Char('\n')));
    QStringList headers;
    for (const auto& [name, value] : source.headers) {
        headers << Text(name) + QStringLiteral(": ") + Text(value);
    }
    m_headersEdit->setPlainText(headers.join(QLatin1Char('\n')));
    m_pauseSpin->setValue(source.minSeconds);

    m_formatBox->setCurrentIndex(static_cast<int>(source.format));
    m_csvHeaderBox->setChecked(source.csvHeader);
    m_resultsEdit->setText(Text(source.results));
    m_patternEdit->setText(Text(source.pattern));
    m_symbolField->setText(Text(source.fields.symbol));
    m_priceField->setText(Text(source.fields.price));
    m_timeField->setText(Text(source.fields.time));
    m_changeField->setText(Text(source.fields.change));
    m_previousCloseField->setText(Text(source.fields.previousClose));
    m_currencyField->setText(Text(source.fields.currency));

    m_historyUrlEdit->setText(Text(source.history.url));
    m_historyFormatBox->setCurrentIndex(source.history.format == SourceFormat::kJson ? 1 : 0);
    m_historyDateEdit->setText(Text(source.history.date));
    m_historyCloseEdit->setText(Text(source.history.close));
}

void CQuoteSourceDlg::ShowFormat() {
    const auto format = static_cast<SourceFormat>(m_formatBox->currentIndex());
    const bool csv = format == SourceFormat::kCsv;
    const bool json = format == SourceFormat::kJson;
    const bool regex = format == SourceFormat::kRegex;
    // Fields the format does not read keep their text, so switching back loses nothing.
    m_answerForm->setRowVisible(m_csvHeaderBox, csv);
    m_answerForm->setRowVisible(m_resultsEdit, json);
    m_answerForm->setRowVisible(m_patternEdit, regex);
    m_answerForm->setRowVisible(m_patternHint, regex);
    m_answerForm->setRowVisible(m_symbolField, !regex);

    QString place;
    if (csv) {
        m_formatHint->setText(
            QStringLiteral("Each field is a column: its name in the first line,\n"
                           "or its number counted from 1."));
        place = QStringLiteral("column name or number");
    } else if (json) {
        m_formatHint->setText(
            QStringLiteral("Each field is a JSON pointer such as /quote/price;\n"
                           "{symbol} stands for the symbol. With a results\n"
                           "array, the pointers are taken within each result."));
        place = QStringLiteral("JSON pointer");
    } else {
        m_formatHint->setText(QStringLiteral("Each field is a group number of the pattern."));
        place = QStringLiteral("group number");
    }
    for (QLineEdit* field :
         {m_symbolField, m_timeField, m_changeField, m_previousCloseField, m_currencyField}) {
        field->setPlaceholderText(place + QStringLiteral(", or empty"));
    }
    m_priceField->setPlaceholderText(regex ? QStringLiteral("group number; 1 when empty") : place);
}

void CQuoteSourceDlg::MakeReadOnly() {
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        // A spin box's own line edit follows the spin box.
        if (qobject_cast<QAbstractSpinBox*>(edit->parentWidget()) == nullptr) {
            edit->setReadOnly(true);
        }
    }
    for (QPlainTextEdit* edit : findChildren<QPlainTextEdit*>()) {
        edit->setReadOnly(true);
    }
    for (QSpinBox* spin : findChildren<QSpinBox*>()) {
        spin->setReadOnly(true);
        spin->setButtonSymbols(QAbstractSpinBox::NoButtons);
    }
    for (QComboBox* box : findChildren<QComboBox*>()) {
        box->setEnabled(false);
    }
    m_csvHeaderBox->setEnabled(false);
    m_okButton->setEnabled(false);
    m_okButton->setDefault(false);
}

bool CQuoteSourceDlg::ReadFields(QuoteSource& source, QString& problem, QWidget*& field) {
    source.name = Trimmed(m_nameEdit);
    source.url = Trimmed(m_urlEdit);
    source.separator = m_separatorEdit->text().toStdString();
    source.batchSize = m_batchSpin->value();
    source.symbolCase = static_cast<SymbolCase>(m_caseBox->currentIndex());
    source.prefix = Trimmed(m_prefixEdit);
    source.suffix = Trimmed(m_suffixEdit);
    source.minSeconds = m_pauseSpin->value();
    source.format = static_cast<SourceFormat>(m_formatBox->currentIndex());
    source.csvHeader = m_csvHeaderBox->isChecked();
    source.results = Trimmed(m_resultsEdit);
    source.pattern = m_patternEdit->text().toStdString();
    source.fields = {.symbol = Trimmed(m_symbolField),
                     .price = Trimmed(m_priceField),
                     .time = Trimmed(m_timeField),
                     .change = Trimmed(m_changeField),
                     .previousClose = Trimmed(m_previousCloseField),
                     .currency = Trimmed(m_currencyField)};
    source.history = {.url = Trimmed(m_historyUrlEdit),
                      .format = m_historyFormatBox->currentIndex() == 1 ? SourceFormat::kJson
                                                                        : SourceFormat::kCsv,
                      .date = Trimmed(m_historyDateEdit),
                      .close = Trimmed(m_historyCloseEdit)};

    int badLine = -1;
    source.overrides.clear();
    for (const SplitLine& line : SplitLines(m_overridesEdit, QLatin1Char('='), badLine)) {
        const std::string held = line.name.toStdString();
        if (line.number == badLine || line.value.isEmpty()) {
            problem = QStringLiteral(
                          "The override \"%1\" is no line HELD=THEIRS, such as "
                          "BRK-B=BRK.B.")
                          .arg(line.line);
        } else if (source.overrides.contains(held)) {
            problem = QStringLiteral("The symbol %1 is overridden twice.").arg(line.name);
        } else {
            source.overrides.emplace(held, line.value.toStdString());
            continue;
        }
        SelectLine(m_overridesEdit, line.number);
        field = m_overridesEdit;
        return false;
    }
    source.headers.clear();
    for (const SplitLine& line : SplitLines(m_headersEdit, QLatin1Char(':'), badLine)) {
        if (line.number == badLine || line.name.contains(QLatin1Char(' '))) {
            problem =
                QStringLiteral("The header \"%1\" is no line \"Name: value\".").arg(line.line);
            SelectLine(m_headersEdit, line.number);
            field = m_headersEdit;
            return false;
        }
        source.headers.emplace_back(line.name.toStdString(), line.value.toStdString());
    }
    return true;
}

QWidget* CQuoteSourceDlg::FieldOfProblem(const std::string& problem) const {
    // Matched on the words of the rule's message; a message not listed leaves the focus
    // where it is, which is still usable.
    const std::pair<const char*, QWidget*> fields[] = {
        {"needs a name", m_nameEdit},
        {"A source named", m_nameEdit},
        {"history address", m_historyUrlEdit},
        {"The address", m_urlEdit},
        {"batch size", m_batchSpin},
        {"separator", m_separatorEdit},
        {"pause between", m_pauseSpin},
        {"needs a pattern", m_patternEdit},
        {"place of the price", m_priceField},
        {"place of the symbol", m_symbolField},
        {"header", m_headersEdit},
    };
    for (const auto& [words, field] : fields) {
        if (problem.find(words) != std::string::npos) {
            return field;
        }
    }
    return nullptr;
}

void CQuoteSourceDlg::accept() {
    if (!m_okButton->isEnabled()) {
        return;
    }
    QuoteSource source = m_source;
    QString problem;
    QWidget* field = nullptr;
    if (ReadFields(source, problem, field)) {
        const std::string rule = QuoteSourceProblem(source, m_otherNames);
        if (rule.empty()) {
            m_source = std::move(source);
            QDialog::accept();
            return;
        }
        problem = Text(rule);
        field = FieldOfProblem(rule);
    }
    QMessageBox::warning(this, QString::fromLatin1(kProductName), problem);
    if (field != nullptr) {
        field->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(field)) {
            edit->selectAll();
        }
    }
}
