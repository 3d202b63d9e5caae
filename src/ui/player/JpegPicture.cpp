#include "ui/player/JpegPicture.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>

extern "C" {
#include <jpeglib.h>
}

namespace Orbisong {

namespace {

struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void onError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->jump, 1);
}

void onMessage(j_common_ptr, int)
{
}

QImage decode(jpeg_decompress_struct &info, int displayDepth)
{
    info.out_color_space = JCS_RGB;
    if (displayDepth < 24) {
        info.quantize_colors = TRUE;
        info.desired_number_of_colors = displayDepth >= 8 ? 256 : 8;
    }
    jpeg_start_decompress(&info);
    const int width = int(info.output_width);
    const int height = int(info.output_height);
    QImage image;
    if (info.quantize_colors) {
        image = QImage(width, height, QImage::Format_Indexed8);
        QList<QRgb> table;
        for (int i = 0; i < info.actual_number_of_colors; ++i) {
            auto channel = [&](int c) {
                return info.out_color_components > c ? int(info.colormap[c][i])
                                                     : int(info.colormap[0][i]);
            };
            table.append(qRgb(channel(0), channel(1), channel(2)));
        }
        image.setColorTable(table);
    } else {
        image = QImage(width, height, QImage::Format_RGB888);
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return image;
}

} // namespace

QImage DecodeJpegFile(const QString &path, int displayDepth)
{
    std::FILE *file = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (!file)
        return {};
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.emit_message = onMessage;
    QImage image;
    if (setjmp(errors.jump) == 0) {
        jpeg_create_decompress(&info);
        jpeg_stdio_src(&info, file);
        jpeg_read_header(&info, TRUE);
        image = decode(info, displayDepth);
    } else {
        image = QImage();
    }
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return image;
}

} // namespace Orbisong
