#include "app/capture/CaptureErrors.h"

#include "app/capture/CaptureDevice.h"

namespace ondrel {

const char* CaptureErrorMessage(int result) {
    switch (result) {
    case MMSYSERR_BADDEVICEID:
        return "エラーが発生しました。\n\nエラー内容：MMSYSERR_BADDEVICEID\n"
               "指定されたデバイス識別子は範囲外です。";
    case MMSYSERR_ALLOCATED:
        return "エラーが発生しました。\n\nエラー内容：MMSYSERR_ALLOCATED\n"
               "指定されたリソースはすでに割り当てられています。\n\n"
               "ほかのプログラム(例：インスタントメッセンジャー等）が\n"
               "録音を開始していないかどうかを確認の上、\nプログラムを再起動してください。";
    case MMSYSERR_NODRIVER:
        return "エラーが発生しました。\n\nエラー内容：MMSYSERR_NODRIVER\n"
               "デバイスドライバが存在しません。\n\n"
               "録音機能に対応したサウンドデバイスが\n"
               "お使いのコンピュータから検出されませんでした。\n"
               "録音機能のついたデバイスを接続の上、再度お試しください。";
    case MMSYSERR_NOMEM:
        return "エラーが発生しました。\n\nエラー内容：MMSYSERR_NOMEM\n"
               "メモリを割り当てられないか、またはロックできません。\n\n"
               "内部で致命的なエラーが発生しました。\n制作元へご連絡ください。";
    case WAVERR_BADFORMAT:
        return "エラーが発生しました。\n\nエラー内容：WAVERR_BADFORMAT\n"
               "サポートされていないウェーブフォームオーディオ形式でオープンしようとしました。\n\n"
               "お使いの環境では、現在のバージョンはご利用いただけません。\n\n"
               "制作元まで[WAVERR_BADFORMAT]エラーが発生したことをご連絡ください。";
    default:
        return nullptr;
    }
}

} // namespace ondrel
