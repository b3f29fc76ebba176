#include "game/CharacterCopy.h"

#include "model/CharacterTransfer.h"

#include <cstdint>
#include <vector>

QString CharacterCopy::CodePageWarning(const QString& source, TextCodec::Page sourcePage, const QString& target,
                                       TextCodec::Page targetPage)
{
    if (sourcePage == targetPage)
        return {};
    return QStringLiteral("the texts are copied as bytes, and %1 is in %2, %3 in %4: the name and description "
                          "will read differently.")
        .arg(source, QString::fromLatin1(TextCodec::Info(sourcePage).label), target,
             QString::fromLatin1(TextCodec::Info(targetPage).label));
}

void CharacterCopy::Copy(const SaveGame& source, int n, SaveGame& target, int m, const std::function<void()>& write)
{
    const std::vector<std::uint8_t> moved = CharacterTransfer::Rebase(source, n, target);
    const std::span<const std::uint8_t> own = target.GetCharacterBytes(m);
    const std::vector<std::uint8_t> before(own.begin(), own.end());
    target.RestoreCharacterBytes(m, moved);
    try {
        write();
    } catch (...) {
        target.RestoreCharacterBytes(m, before);
        throw;
    }
}
