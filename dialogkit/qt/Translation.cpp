#include "dialogkit/Translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTranslator>
#include <memory>
#include <optional>
#include <vector>

#include "dialogkit/qt/QtText.h"

namespace vorlane::dk {

namespace {

std::vector<std::unique_ptr<QTranslator>>& installed() {
    static std::vector<std::unique_ptr<QTranslator>> list;
    return list;
}

bool install(std::unique_ptr<QTranslator> translator) {
    if (!QCoreApplication::installTranslator(translator.get())) {
        return false;
    }
    installed().push_back(std::move(translator));
    return true;
}

}  // namespace

QString translated(const char* context, const char* source) {
    if (source == nullptr || source[0] == '\0') {
        return {};
    }
    return QCoreApplication::translate(context, source);
}

std::string translate(const char* context, const char* source) {
    return translated(context, source).toStdString();
}

std::string translate(const char* context, const std::string& source) {
    return translate(context, source.c_str());
}

std::string translate(const char* context, const char* source, int n) {
    return QCoreApplication::translate(context, source, nullptr, n).toStdString();
}

std::string formatText(const std::string& pattern, std::initializer_list<std::string> args) {
    QString text = QString::fromStdString(pattern);
    for (const std::string& arg : args) {
        text = text.arg(QString::fromStdString(arg));
    }
    return text.toStdString();
}

std::string trNumbered(const char* context, const std::string& text) {
    static const QRegularExpression digits(QStringLiteral("[0-9]+"));
    const QString whole = QString::fromStdString(text);
    const auto translateNumbered = [&](const QString& part) -> std::optional<QString> {
        QStringList numbers;
        QString pattern;
        qsizetype at = 0;
        for (const QRegularExpressionMatch& m : digits.globalMatch(part)) {
            numbers << m.captured();
            pattern += part.mid(at, m.capturedStart() - at) + QLatin1Char('%') +
                       QString::number(numbers.size());
            at = m.capturedEnd();
        }
        pattern += part.mid(at);
        const QByteArray source = pattern.toUtf8();
        const QString result = QCoreApplication::translate(context, source.constData());
        if (result == pattern) {
            return std::nullopt;
        }
        QString filled = result;
        for (qsizetype i = numbers.size(); i > 0; --i) {
            // From the highest, so that %1 does not eat the start of %12.
            filled.replace(QLatin1Char('%') + QString::number(i), numbers.at(i - 1));
        }
        return filled;
    };
    if (std::optional<QString> full = translateNumbered(whole)) {
        return full->toStdString();
    }
    const qsizetype paren = whole.indexOf(QStringLiteral(" ("));
    if (paren > 0) {
        if (std::optional<QString> head = translateNumbered(whole.left(paren))) {
            return (*head + whole.mid(paren)).toStdString();
        }
    }
    return text;
}

std::string installTranslations(const std::string& name, const std::vector<std::string>& dirs,
                                const std::string& localeName) {
    removeTranslations();
    const QLocale locale = localeName.empty() ? QLocale::system() : QLocale(toQString(localeName));
    for (const std::string& given : dirs) {
        const QString dir = QDir(QCoreApplication::applicationDirPath()).filePath(toQString(given));
        auto own = std::make_unique<QTranslator>();
        if (!own->load(locale, toQString(name), QStringLiteral("_"), dir)) {
            continue;
        }
        const QString language = own->language();
        if (!install(std::move(own))) {
            return {};
        }
        // Qt's file dialogs and message box buttons follow, but only with a translation of our
        // own: in a language the program does not speak, everything stays English.
        auto qt = std::make_unique<QTranslator>();
        if (qt->load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            install(std::move(qt));
        }
        return language.toStdString();
    }
    return {};
}

void removeTranslations() {
    for (const std::unique_ptr<QTranslator>& t : installed()) {
        QCoreApplication::removeTranslator(t.get());
    }
    installed().clear();
}

}  // namespace vorlane::dk
