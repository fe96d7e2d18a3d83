#include "batch/BatchCommands.h"

#include <QHash>

namespace {

const char *const commandWords[] = {
#define LUMENOGRAF_BATCH_WORD(id, word) word,
    LUMENOGRAF_BATCH_COMMANDS(LUMENOGRAF_BATCH_WORD)
#undef LUMENOGRAF_BATCH_WORD
};

const char *const commandIdNames[] = {
#define LUMENOGRAF_BATCH_NAME(id, word) #id,
    LUMENOGRAF_BATCH_COMMANDS(LUMENOGRAF_BATCH_NAME)
#undef LUMENOGRAF_BATCH_NAME
};
static_assert(sizeof(commandWords) / sizeof(commandWords[0]) == BatchCmd::Count,
              "one word for every command id");

// Upper-case word -> id, built on first use and read-only afterwards, so the
// batch thread and the GUI thread can both look words up.
const QHash<QString, int> &commandIds()
{
    static const QHash<QString, int> ids = [] {
        QHash<QString, int> h;
        for (int i = 0; i < BatchCmd::Count; ++i)
            h.insert(QString::fromLatin1(commandWords[i]).toUpper(), i);
        return h;
    }();
    return ids;
}

} // namespace

int batchCommandId(const QString &word)
{
    return commandIds().value(word.toUpper(), BatchCmd::NotFound);
}

QString batchCommandWord(int id)
{
    if (id < 0 || id >= BatchCmd::Count)
        return QString();
    return QString::fromLatin1(commandWords[id]);
}

QString batchCommandIdName(int id)
{
    if (id < 0 || id >= BatchCmd::Count)
        return QString();
    return QString::fromLatin1(commandIdNames[id]);
}

BatchKeyword batchKeyword(const QString &word)
{
    static const struct
    {
        const char *word;
        BatchKeyword keyword;
    } keywords[] = {
        {":FOR", BatchKeyword::For},        {":NEXT", BatchKeyword::Next},
        {":ECHO", BatchKeyword::Echo},      {":REM_START", BatchKeyword::RemStart},
        {":REM_END", BatchKeyword::RemEnd}, {":END", BatchKeyword::End},
    };
    if (!word.startsWith(QLatin1Char(':')))
        return BatchKeyword::None;
    const QString upper = word.toUpper();
    for (const auto &k : keywords)
        if (upper == QLatin1String(k.word))
            return k.keyword;
    return BatchKeyword::None;
}
