#include "support/message_recorder.h"

namespace testing_support {

namespace {

Mensagemvlx::Chamada last;

void RecordAndShow(const Mensagemvlx::Chamada& chamada)
{
    last = chamada;
    Mensagemvlx::ExibeNaCaixaDeMensagem(chamada);
}

}  // namespace

void RecordMessages() { Mensagemvlx::ExibeMensagem = RecordAndShow; }

const Mensagemvlx::Chamada& LastMessage() { return last; }

}  // namespace testing_support
