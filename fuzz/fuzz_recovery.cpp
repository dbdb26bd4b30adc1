// The recovery copy read at the start. A copy carries the fingerprint of its
// content, so input that is not a whole copy is first given a true one: the
// reader behind the fingerprint check is what a damaged or made-up copy meets.
#include "fuzzinput.h"

#include "fileio/errors.h"
#include "recovery/recoverystate.h"

#include <QCryptographicHash>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray magic = "Vellumar recovery copy 3\n";
    QByteArray bytes = inputBytes(data, size);
    if (!bytes.startsWith(magic))
        bytes = magic + QByteArray::number(bytes.size()) + ' '
            + QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() + '\n' + bytes;
    try {
        const TRecoveryState state = TRecoveryState::fromBytes(bytes, QStringLiteral("unsaved.state"));
        (void)state.toBytes();
    } catch (const TError &) {
    }
    return 0;
}
